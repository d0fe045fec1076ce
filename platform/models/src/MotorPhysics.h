// The simulated controllers' motors and heat as exact functions of time between events (see
// brovamodels/Controller.h for the model).
#pragma once

#include <optional>
#include <span>

#include "brovamodels/Parameters.h"

namespace brovamodels::physics {

// One channel's motor.
struct Winding {
  double rpm = 0.0;
  double revolutions = 0.0;  // since the encoder was last reset or set
};

// What one channel's output applies while nothing changes, and what is held from outside the
// model meanwhile.
struct Drive {
  bool on = false;
  double duty = 0.0;  // -1..1
  double load = 0.0;  // 0..1
  // The speed the winding turns at, whatever the output drives.
  std::optional<double> heldRpm;
  // The current the winding draws, whatever its output and speed.
  std::optional<double> heldCurrent;
};

// The current `winding` draws now under `drive`.
double current(const Winding& winding, const Drive& drive, const MotorParameters& motor);

// Advances every winding (each under its drive) and the controller's temperature by `seconds`.
void advance(std::span<Winding> windings, std::span<const Drive> drives,
             const MotorParameters& motor, const ThermalParameters& thermal, double& temperature,
             double seconds);

}  // namespace brovamodels::physics
