// The simulated analog board on a simulated I2C port: each transfer reaches the model at the
// moment it is made.
#include <utility>

#include "DeviceValues.h"
#include "DeviceWatch.h"
#include "brovasim/SimAnalogBoard.h"

namespace brovasim {

using brovamodels::Clock;

SimAnalogBoard::SimAnalogBoard() = default;

SimAnalogBoard::~SimAnalogBoard() {
  watch_.reset();
  simulatedDeviceFreed();
}

void SimAnalogBoard::simulatedDeviceCreated(int32_t device) {
  std::unique_ptr<brovamodels::DeviceValues> unbound;
  std::lock_guard lock(mutex_);
  simulatedDevice_ = device;
  unbound.swap(values_);
}

void SimAnalogBoard::simulatedDeviceFreed() {
  std::unique_ptr<brovamodels::DeviceValues> unbound;
  {
    std::lock_guard lock(mutex_);
    simulatedDevice_ = 0;
    unbound.swap(values_);
  }
  // Unbound without the lock: a value's callback under way may be waiting for it.
}

void SimAnalogBoard::setInput(int channel, double volts) {
  std::lock_guard lock(mutex_);
  board_.setInput(channel, volts);
}

void SimAnalogBoard::setInputSignal(int channel, Signal signal) {
  std::lock_guard lock(mutex_);
  board_.setInputSignal(channel, std::move(signal), Clock::now());
}

double SimAnalogBoard::input(int channel) const {
  std::lock_guard lock(mutex_);
  return board_.input(channel, Clock::now());
}

void SimAnalogBoard::setPresent(bool present) {
  std::lock_guard lock(mutex_);
  board_.setPresent(present);
}

uint16_t SimAnalogBoard::configRegister() const {
  std::lock_guard lock(mutex_);
  return board_.configRegister();
}

uint16_t SimAnalogBoard::conversionRegister() const {
  std::lock_guard lock(mutex_);
  return board_.conversionRegister();
}

int SimAnalogBoard::conversions() const {
  std::lock_guard lock(mutex_);
  return board_.conversions();
}

int32_t SimAnalogBoard::write(const uint8_t* data, int32_t count) {
  std::lock_guard lock(mutex_);
  const Clock::time_point now = Clock::now();
  if (simulatedDevice_ != 0 && !values_) {
    values_ = std::make_unique<brovamodels::DeviceValues>(
        simulatedDevice_, brovamodels::DeviceName::Kind::Board, brovamodels::Board::kInputs,
        [weak = weak_from_this()](std::size_t input, double volts) {
          if (auto self = weak.lock()) self->setInput(static_cast<int>(input), volts);
        });
  }
  if (values_) values_->show(board_, now);
  return board_.write(data, count, now);
}

int32_t SimAnalogBoard::read(uint8_t* buffer, int32_t count) {
  std::lock_guard lock(mutex_);
  return board_.read(buffer, count);
}

std::shared_ptr<SimAnalogBoard> attachAnalogBoard(int32_t port, int32_t address) {
  auto board = std::make_shared<SimAnalogBoard>();
  const std::weak_ptr<SimAnalogBoard> weak = board;
  board->watch_ = std::make_unique<DeviceWatch>(
      brovamodels::nameOf({brovamodels::DeviceName::Kind::Board, port, 0}),
      [weak](int32_t device) {
        if (auto self = weak.lock()) self->simulatedDeviceCreated(device);
      },
      [weak] {
        if (auto self = weak.lock()) self->simulatedDeviceFreed();
      });
  i2c::attach(port, address, board);
  return board;
}

}  // namespace brovasim
