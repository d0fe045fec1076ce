// The demo's robot program: what a team writes against the library's public header.
#pragma once

#include <cstdint>
#include <functional>

namespace demo {

struct RobotSettings {
  int quadDevice = 5;
  int smallDevice = 7;
  double seconds = 5.0;
};

// The robot's enable switch. On a robot the driver station flips it; here the simulation does.
using EnableSwitch = std::function<void(bool enabled)>;

// Opens the controllers and the analog board, prints their identity, drives a speed profile in
// a 20 ms loop that prints the latest telemetry (read by the objects' own threads) a few times a
// second, then disables and closes everything.
// Returns the process exit status.
int runRobot(const RobotSettings& settings, const EnableSwitch& enable);

}  // namespace demo
