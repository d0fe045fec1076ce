// The device models' simulated devices: the HAL's simulated device (SimDevice) that the library
// creates for each controller and board it opens, bound to the model that answers it.
//
// The library names the device and its values (its brova controller/Simulated.h and
// common/Simulation.h say how):
//   controllers "BrovaQuad[5]", "BrovaSmall[7]", "BrovaQuad[5,2]" (device 5 on CAN bus 2), with
//     per channel c "output c", "current c", "rpm c", "encoder c", "load c", then "temperature"
//     and "enabled";
//   the board "Ferux[1]" (its I2C port), with "voltage 0".."voltage 3".
// The model shows its state in the values (show); a value that anyone else sets (a simulation
// GUI, a team's simulation code through the library's physics API, HAL_SetSimValue) is handed to
// the model as a hold, the board's voltages as its inputs.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "brovamodels/Board.h"
#include "brovamodels/Clock.h"
#include "brovamodels/Controller.h"

struct HAL_Value;  // the HAL's (hal/Value.h)

namespace brovamodels {

// What a simulated device's name says.
struct DeviceName {
  enum class Kind { Quad, Small, Board } kind;
  int number = 0;  // the CAN device number, or the board's I2C port
  int bus = 0;     // the CAN bus
};

std::string nameOf(const DeviceName& name);
// Nothing for a name that is none of the library's.
std::optional<DeviceName> parseName(std::string_view name);

class DeviceValues {
 public:
  // A value set by anyone but show(): its index in the device's order, and the value.
  using OnSet = std::function<void(std::size_t index, double value)>;

  // Binds to the values of simulated device `device`, of the layout `kind` with `channels`;
  // `onSet` hears each value set elsewhere, in the setter's thread, and may still be called
  // (from a set under way) after the binding is destroyed.
  DeviceValues(int32_t device, DeviceName::Kind kind, int channels, OnSet onSet);
  ~DeviceValues();
  DeviceValues(const DeviceValues&) = delete;
  DeviceValues& operator=(const DeviceValues&) = delete;

  // Writes the controller's state at `now` into its values.
  void show(Controller& model, Clock::time_point now);
  // Hands value `index` (set elsewhere) to the controller model.
  static void apply(Controller& model, std::size_t index, double value, Clock::time_point now);
  // Writes the board's input voltages at `now` into its values.
  void show(const Board& board, Clock::time_point now);

  int32_t device() const { return device_; }

 private:
  static void changed(const char* name, void* param, int32_t handle, int32_t direction,
                      const ::HAL_Value* value);
  void set(std::size_t index, double value);
  double get(std::size_t index) const;

  const int32_t device_;
  const int channels_;
  std::vector<int32_t> values_;
  std::vector<int32_t> callbacks_;
  OnSet onSet_;
  // The binding's number, which its callbacks carry instead of a pointer to it.
  uintptr_t id_;
};

}  // namespace brovamodels
