// How a controller shows among the HAL's simulated devices (common/Simulation.h): named
// "BrovaQuad[5]" (device 5 on CAN bus 0) or "BrovaQuad[5,2]" (on CAN bus 2), with these values,
// in this order:
//   per channel c: "output c"  (output) the duty the channel's output applies, -1..1
//                  "current c" (input)  amperes
//                  "rpm c"     (input)  the motor's speed, signed
//                  "encoder c" (input)  the encoder count
//                  "load c"    (input)  the load on the motor, 0..1
//   then:          "temperature" (input) °C, "enabled" (output) whether the outputs are enabled
// The device models keep the inputs; a value set by anyone else (the simulation's GUI, a team's
// code) holds that quantity: a channel's current or speed until a load is set on that channel, the
// temperature from then on; an encoder count is where the encoder counts on from.
#pragma once

#include <cstddef>
#include <cstdint>

#include "can/Link.h"
#include "common/Simulation.h"
#include "controller/Description.h"

namespace brova::controller::simulated {

enum class Quantity : std::size_t { Output, Current, Rpm, Encoder, Load };
inline constexpr std::size_t kPerChannel = 5;

constexpr std::size_t valueOf(int channel, Quantity quantity) {
  return static_cast<std::size_t>(channel) * kPerChannel + static_cast<std::size_t>(quantity);
}
constexpr std::size_t temperatureValue(int channels) { return valueOf(channels, Quantity::Output); }
constexpr std::size_t enabledValue(int channels) { return temperatureValue(channels) + 1; }

// The simulated device of `model` at `address`.
simulation::SimulatedDevice open(const Model& model, can::Address address);

// The C entry points' devices, by their handle: made by a create, freed by its destroy.
void openForHandle(int32_t handle, const Model& model, int device) noexcept;
void closeForHandle(int32_t handle) noexcept;

}  // namespace brova::controller::simulated
