// The Ferux analog board as a device model, independent of the bus it sits on: a four-input
// 12-bit converter with the ADS1015 register map.
//
// Register pointer 0 is the conversion register, 1 the configuration register. A write sets the
// pointer from its first byte and, when it names the configuration register and carries two more
// bytes, sets that register; with its start bit (bit 15) the board converts the selected input at
// once: the input voltage (or the difference of two inputs) over the full-scale range of the
// programmed gain, rounded to the nearest count, as a signed 12-bit result clamped to
// -2048..2047, in bits 15..4 of the conversion register. Reads return the register at the
// pointer, most significant byte first, and zeros after it. Results follow the platform's I2C
// calls: the byte count transferred, or kFailed for a transfer that fails (any while the board is
// not present, as an address without a device would). Inputs are signals of time: the model reads
// no clock, so the functions that need the time take it. Nothing here knows a bus or a thread: a
// board is not thread-safe, and the code that attaches it to a bus (brovasim::SimAnalogBoard on
// the simulated platform) serialises its calls.
#pragma once

#include <array>
#include <cstdint>
#include <functional>

#include "brovamodels/Clock.h"

namespace brovamodels {

class Board {
 public:
  static constexpr int kInputs = 4;
  static constexpr uint16_t kPowerOnConfig = 0x8583;
  static constexpr int32_t kFailed = -1;

  // A voltage as a function of the seconds since the signal was set.
  using Signal = std::function<double(double seconds)>;

  // Sets input `channel` (0..3) to `volts` against ground; another channel is ignored.
  void setInput(int channel, double volts);
  // Makes input `channel` follow `signal` from `now` on, evaluated at each conversion.
  void setInputSignal(int channel, Signal signal, Clock::time_point now);
  // The voltage at input `channel` at `now`: 0 for an input never set, or a channel the board
  // does not have.
  double input(int channel, Clock::time_point now) const;
  // A board that is not present fails every transfer.
  void setPresent(bool present);
  bool present() const { return present_; }

  uint16_t configRegister() const { return config_; }
  uint16_t conversionRegister() const { return conversion_; }
  int conversions() const { return conversions_; }

  // A write transfer of `count` bytes at `now` (when a conversion it starts reads the inputs).
  int32_t write(const uint8_t* data, int32_t count, Clock::time_point now);
  // A read transfer of `count` bytes.
  int32_t read(uint8_t* buffer, int32_t count) const;

 private:
  void convert(Clock::time_point now);

  std::array<Signal, kInputs> inputs_{};
  std::array<Clock::time_point, kInputs> signalStart_{};
  bool present_ = true;
  uint8_t pointer_ = 0;
  uint16_t config_ = kPowerOnConfig;
  uint16_t conversion_ = 0;
  int conversions_ = 0;
};

}  // namespace brovamodels
