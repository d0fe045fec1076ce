// A simulated four-input 12-bit converter with the ADS1015 register map, as on the Ferux board.
//
// Register pointer 0 is the conversion register, 1 the configuration register. Writing the
// configuration register with its start bit (bit 15) converts the selected input at once: the
// input voltage (or the difference of two inputs) over the full-scale range of the programmed
// gain, rounded to the nearest count, as a signed 12-bit result clamped to -2048..2047, in
// bits 15..4 of the conversion register. Reads return the register at the pointer, most significant
// byte first.
#pragma once

#include <array>
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>

#include "brovasim/SimI2C.h"

namespace brovasim {

class SimAnalogBoard : public I2CDevice {
 public:
  static constexpr int32_t kDefaultPort = 1;
  static constexpr int32_t kDefaultAddress = 0x48;
  static constexpr uint16_t kPowerOnConfig = 0x8583;

  // A voltage as a function of the seconds since the signal was set.
  using Signal = std::function<double(double seconds)>;

  // Sets input `channel` (0..3) to `volts` against ground.
  void setInput(int channel, double volts);
  // Makes input `channel` follow `signal`, evaluated at each conversion.
  void setInputSignal(int channel, Signal signal);
  // The voltage at input `channel` now.
  double input(int channel) const;
  // A board that is not present fails every transfer, as an address without a device would.
  void setPresent(bool present);

  uint16_t configRegister() const;
  uint16_t conversionRegister() const;
  int conversions() const;

  int32_t write(const uint8_t* data, int32_t count) override;
  int32_t read(uint8_t* buffer, int32_t count) override;

 private:
  void convert();
  double inputLocked(int channel) const;

  mutable std::mutex mutex_;
  std::array<Signal, 4> inputs_{};
  std::array<std::chrono::steady_clock::time_point, 4> signalStart_{};
  bool present_ = true;
  uint8_t pointer_ = 0;
  uint16_t config_ = kPowerOnConfig;
  uint16_t conversion_ = 0;
  int conversions_ = 0;
};

// Attaches a new board at the Ferux board's port and address and returns it.
std::shared_ptr<SimAnalogBoard> attachAnalogBoard(
    int32_t port = SimAnalogBoard::kDefaultPort, int32_t address = SimAnalogBoard::kDefaultAddress);

}  // namespace brovasim
