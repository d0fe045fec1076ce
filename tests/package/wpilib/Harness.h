// What the robot programs on WPILib's simulation HAL use of the simulation itself, as a team's
// test or WPILib's simulation GUI would (Harness.cpp): the HAL's start, the simulated Driver
// Station's enable, and the simulated devices and their values. Nothing here answers a
// controller: the library's device models do.
#pragma once

#ifdef __cplusplus
extern "C" {
#endif

// Initialises WPILib's HAL, the Driver Station attached and disabled; 0 when it did not start.
int brova_wpilib_start(void);
// Enables or disables the simulated Driver Station.
void brova_wpilib_set_enabled(int enabled);
// The names of the simulated devices starting with `prefix`, or of the values of simulated device
// `device`, each followed by '\n', into `buffer` (cut at `size`); the full length.
int brova_wpilib_devices(const char* prefix, char* buffer, int size);
int brova_wpilib_values(const char* device, char* buffer, int size);
// Value `value` of simulated device `device` (a boolean reads 0 or 1); NaN when there is none.
double brova_wpilib_value(const char* device, const char* value);
// Sets it with HAL_SetSimValue, in the value's own type; 0 when there is none.
int brova_wpilib_set_value(const char* device, const char* value, double number);
// Whether this WPILib's CAN calls name a bus (2027): 1 or 0.
int brova_wpilib_names_buses(void);

#ifdef __cplusplus
}  // extern "C"
#endif
