// A device's place among the HAL's simulated devices, and the device models that answer it in
// WPILib's desktop simulation.
//
// Each controller and board the program opens is a simulated device of the HAL, named by model
// and number ("BrovaQuad[5]", "BrovaQuad[5,2]" on CAN bus 2, "Ferux[1]" on I2C port 1), with the
// values that describe it. On a HAL without simulated devices (the robot's) the device holds
// nothing and its values read 0. On WPILib's simulation HAL, the first device opened also loads
// the library of device models (libBrovaDriverSim.so, beside this library or on the library
// path), which answers the device's frames and keeps its values; this HAL is told from the
// project's own simulated platform by the simulation callbacks only WPILib's has.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace brova::simulation {

enum class ValueType { Double, Int, Boolean };
// As the simulation sees it: an input is set by the simulation (its models, its GUI, a team's
// code) and read by the program; an output is driven by the program.
enum class Direction { Input, Output };

struct SimulatedValue {
  std::string name;
  ValueType type;
  Direction direction;
};

class SimulatedDevice {
 public:
  SimulatedDevice() = default;  // none
  // Creates the simulated device `name` with `values`, in their order. None where the HAL has no
  // simulated devices, or the name is taken.
  SimulatedDevice(const std::string& name, std::span<const SimulatedValue> values) noexcept;
  ~SimulatedDevice();
  SimulatedDevice(SimulatedDevice&& other) noexcept;
  SimulatedDevice& operator=(SimulatedDevice&& other) noexcept;
  SimulatedDevice(const SimulatedDevice&) = delete;
  SimulatedDevice& operator=(const SimulatedDevice&) = delete;

  bool present() const noexcept { return device_ != 0; }
  // Value `index` now (a boolean reads 0 or 1); 0 for a device that is not present.
  double get(std::size_t index) const noexcept;
  // Sets value `index`; nothing for a device that is not present.
  void set(std::size_t index, double value) const noexcept;

 private:
  void free() noexcept;

  int32_t device_ = 0;
  std::vector<int32_t> values_;
  std::vector<ValueType> types_;
};

// The device's name: model[number] on bus or port 0, model[number,bus] on another bus.
std::string deviceName(std::string_view model, int number, int bus);

// Whether the program runs on WPILib's desktop simulation, where the models answer.
bool onWpilibSimulation() noexcept;

}  // namespace brova::simulation
