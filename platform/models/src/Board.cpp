// The analog board's registers and conversions.
#include "brovamodels/Board.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace brovamodels {
namespace {

constexpr uint8_t kConversionPointer = 0;
constexpr uint8_t kConfigPointer = 1;
constexpr uint16_t kStartBit = 0x8000;
// Full-scale range in volts for each value of the PGA field (bits 11..9).
constexpr double kFullScale[8] = {6.144, 4.096, 2.048, 1.024, 0.512, 0.256, 0.256, 0.256};

bool isInput(int channel) { return channel >= 0 && channel < Board::kInputs; }

}  // namespace

void Board::setInput(int channel, double volts) {
  // A constant: when it started makes no difference.
  setInputSignal(channel, [volts](double) { return volts; }, Clock::time_point{});
}

void Board::setInputSignal(int channel, Signal signal, Clock::time_point now) {
  if (!isInput(channel)) return;
  inputs_[channel] = std::move(signal);
  signalStart_[channel] = now;
}

double Board::input(int channel, Clock::time_point now) const {
  if (!isInput(channel) || !inputs_[channel]) return 0.0;
  const std::chrono::duration<double> since = now - signalStart_[channel];
  return inputs_[channel](since.count());
}

void Board::setPresent(bool present) { present_ = present; }

int32_t Board::write(const uint8_t* data, int32_t count, Clock::time_point now) {
  if (!present_ || data == nullptr || count < 1) return kFailed;
  pointer_ = data[0] & 0x03;
  if (pointer_ == kConfigPointer && count >= 3) {
    config_ = static_cast<uint16_t>(data[1] << 8 | data[2]);
    if (config_ & kStartBit) convert(now);
  }
  return count;
}

int32_t Board::read(uint8_t* buffer, int32_t count) const {
  if (!present_ || buffer == nullptr || count < 0) return kFailed;
  const uint16_t value = pointer_ == kConversionPointer ? conversion_ : config_;
  for (int32_t i = 0; i < count; ++i) buffer[i] = i == 0 ? value >> 8 : i == 1 ? value & 0xFF : 0;
  return count;
}

void Board::convert(Clock::time_point now) {
  const int mux = (config_ >> 12) & 0x07;
  const auto at = [&](int channel) { return input(channel, now); };
  double volts = 0.0;
  switch (mux) {
    case 0: volts = at(0) - at(1); break;
    case 1: volts = at(0) - at(3); break;
    case 2: volts = at(1) - at(3); break;
    case 3: volts = at(2) - at(3); break;
    default: volts = at(mux - 4); break;
  }
  const double fullScale = kFullScale[(config_ >> 9) & 0x07];
  const double code = std::clamp(std::round(volts / fullScale * 2048.0), -2048.0, 2047.0);
  conversion_ = static_cast<uint16_t>((static_cast<int32_t>(code) & 0x0FFF) << 4);
  ++conversions_;
}

}  // namespace brovamodels
