#include <algorithm>
#include <cmath>

#include "brovasim/SimAnalogBoard.h"

namespace brovasim {

namespace {

constexpr int32_t kFailed = -1;
constexpr uint8_t kConversionPointer = 0;
constexpr uint8_t kConfigPointer = 1;
constexpr uint16_t kStartBit = 0x8000;
// Full-scale range in volts for each value of the PGA field (bits 11..9).
constexpr double kFullScale[8] = {6.144, 4.096, 2.048, 1.024, 0.512, 0.256, 0.256, 0.256};

}  // namespace

void SimAnalogBoard::setInput(int channel, double volts) {
  setInputSignal(channel, [volts](double) { return volts; });
}

void SimAnalogBoard::setInputSignal(int channel, Signal signal) {
  std::lock_guard lock(mutex_);
  if (channel < 0 || channel >= 4) return;
  inputs_[channel] = std::move(signal);
  signalStart_[channel] = std::chrono::steady_clock::now();
}

double SimAnalogBoard::input(int channel) const {
  std::lock_guard lock(mutex_);
  return channel >= 0 && channel < 4 ? inputLocked(channel) : 0.0;
}

double SimAnalogBoard::inputLocked(int channel) const {
  if (!inputs_[channel]) return 0.0;
  const std::chrono::duration<double> since =
      std::chrono::steady_clock::now() - signalStart_[channel];
  return inputs_[channel](since.count());
}

void SimAnalogBoard::setPresent(bool present) {
  std::lock_guard lock(mutex_);
  present_ = present;
}

uint16_t SimAnalogBoard::configRegister() const {
  std::lock_guard lock(mutex_);
  return config_;
}

uint16_t SimAnalogBoard::conversionRegister() const {
  std::lock_guard lock(mutex_);
  return conversion_;
}

int SimAnalogBoard::conversions() const {
  std::lock_guard lock(mutex_);
  return conversions_;
}

int32_t SimAnalogBoard::write(const uint8_t* data, int32_t count) {
  std::lock_guard lock(mutex_);
  if (!present_ || data == nullptr || count < 1) return kFailed;
  pointer_ = data[0] & 0x03;
  if (pointer_ == kConfigPointer && count >= 3) {
    config_ = static_cast<uint16_t>(data[1] << 8 | data[2]);
    if (config_ & kStartBit) convert();
  }
  return count;
}

int32_t SimAnalogBoard::read(uint8_t* buffer, int32_t count) {
  std::lock_guard lock(mutex_);
  if (!present_ || buffer == nullptr || count < 0) return kFailed;
  const uint16_t value = pointer_ == kConversionPointer ? conversion_ : config_;
  for (int32_t i = 0; i < count; ++i) buffer[i] = i == 0 ? value >> 8 : i == 1 ? value & 0xFF : 0;
  return count;
}

void SimAnalogBoard::convert() {
  const int mux = (config_ >> 12) & 0x07;
  double volts = 0.0;
  switch (mux) {
    case 0: volts = inputLocked(0) - inputLocked(1); break;
    case 1: volts = inputLocked(0) - inputLocked(3); break;
    case 2: volts = inputLocked(1) - inputLocked(3); break;
    case 3: volts = inputLocked(2) - inputLocked(3); break;
    default: volts = inputLocked(mux - 4); break;
  }
  const double fullScale = kFullScale[(config_ >> 9) & 0x07];
  const double code = std::clamp(std::round(volts / fullScale * 2048.0), -2048.0, 2047.0);
  conversion_ = static_cast<uint16_t>((static_cast<int32_t>(code) & 0x0FFF) << 4);
  ++conversions_;
}

std::shared_ptr<SimAnalogBoard> attachAnalogBoard(int32_t port, int32_t address) {
  auto board = std::make_shared<SimAnalogBoard>();
  i2c::attach(port, address, board);
  return board;
}

}  // namespace brovasim
