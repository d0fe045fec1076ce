// Simulated controllers named by the environment variable BROVA_SIM_CONTROLLERS.
#pragma once

namespace brovasim {

inline constexpr const char* kControllersVariable = "BROVA_SIM_CONTROLLERS";

// Attaches the simulated controllers BROVA_SIM_CONTROLLERS lists ("quad:5,small:7"), the first
// time it is called, on bus 0; a malformed item is named in one line on standard error and
// skipped.
void attachControllersFromEnvironment();

}  // namespace brovasim
