// The simulated analog board on a simulated I2C port: each transfer reaches the model at the
// moment it is made.
#include <utility>

#include "brovasim/SimAnalogBoard.h"

namespace brovasim {

using brovamodels::Clock;

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
  return board_.write(data, count, Clock::now());
}

int32_t SimAnalogBoard::read(uint8_t* buffer, int32_t count) {
  std::lock_guard lock(mutex_);
  return board_.read(buffer, count);
}

std::shared_ptr<SimAnalogBoard> attachAnalogBoard(int32_t port, int32_t address) {
  auto board = std::make_shared<SimAnalogBoard>();
  i2c::attach(port, address, board);
  return board;
}

}  // namespace brovasim
