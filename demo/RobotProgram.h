// The demo's robot program: what a team writes against the library's public header.
#pragma once

#include <cstdint>
#include <functional>

namespace demo {

// The robot: a drivetrain of two BrovaQuads (left and right side, four motors each), a BrovaSmall
// driving an intake, and the Ferux board's four analog inputs.
struct RobotSettings {
  int leftDevice = 5;
  int rightDevice = 6;
  int smallDevice = 7;
  double seconds = 5.0;
};

// The robot's enable switch. On a robot the driver station flips it; here the simulation does.
using EnableSwitch = std::function<void(bool enabled)>;

// Opens the controllers and the analog board, prints their identity, starts their telemetry
// (one library thread reads every controller), drives a speed profile in a 20 ms loop that
// prints the latest readings a few times a second (each with its state and age, and whether each
// controller answers), then disables and closes everything.
// Returns the process exit status.
int runRobot(const RobotSettings& settings, const EnableSwitch& enable);

}  // namespace demo
