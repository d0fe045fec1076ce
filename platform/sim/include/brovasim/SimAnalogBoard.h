// A simulated Ferux board on a simulated I2C port: a brovamodels::Board (brovamodels/Board.h: a
// four-input 12-bit converter with the ADS1015 register map, its registers, conversions and
// presence) whose transfers come from the port, at the moment they are made. All functions are
// thread-safe.
#pragma once

#include <cstdint>
#include <memory>
#include <mutex>

#include "brovamodels/Board.h"
#include "brovasim/SimI2C.h"

namespace brovamodels {
class DeviceValues;
}  // namespace brovamodels

namespace brovasim {

class DeviceWatch;

class SimAnalogBoard : public I2CDevice, public std::enable_shared_from_this<SimAnalogBoard> {
 public:
  static constexpr int32_t kDefaultPort = 1;
  static constexpr int32_t kDefaultAddress = 0x48;
  static constexpr uint16_t kPowerOnConfig = brovamodels::Board::kPowerOnConfig;

  // A voltage as a function of the seconds since the signal was set.
  using Signal = brovamodels::Board::Signal;

  // Sets input `channel` (0..3) to `volts` against ground.
  void setInput(int channel, double volts);
  // Makes input `channel` follow `signal` from now on, evaluated at each conversion.
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

  SimAnalogBoard();
  ~SimAnalogBoard() override;

 private:
  friend std::shared_ptr<SimAnalogBoard> attachAnalogBoard(int32_t port, int32_t address);
  // Its simulated device ("Ferux[1]" on port 1), which the library makes when it opens the board:
  // the board shows its inputs there at each transfer, and a voltage set there by someone else
  // (the library's physics API, HAL_SetSimValue) becomes the input.
  void simulatedDeviceCreated(int32_t device);
  void simulatedDeviceFreed();

  mutable std::mutex mutex_;
  brovamodels::Board board_;     // guarded by mutex_
  int32_t simulatedDevice_ = 0;  // guarded by mutex_, as are its values, bound at a transfer
  std::unique_ptr<brovamodels::DeviceValues> values_;
  std::unique_ptr<DeviceWatch> watch_;
};

// Attaches a new board at the Ferux board's port and address and returns it.
std::shared_ptr<SimAnalogBoard> attachAnalogBoard(
    int32_t port = SimAnalogBoard::kDefaultPort, int32_t address = SimAnalogBoard::kDefaultAddress);

}  // namespace brovasim
