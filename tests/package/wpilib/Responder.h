// The test responder on WPILib's simulation HAL (Responder.cpp), for the C++ robot program.
#pragma once

#ifdef __cplusplus
extern "C" {
#endif

// Initialises WPILib's HAL and registers the responder; 0 when the HAL did not initialise.
int brova_wpilib_start(void);
// Enables or disables the simulated Driver Station.
void brova_wpilib_set_enabled(int enabled);
// The keep-alive frames heard for `device` since the last clear, active or not.
int brova_wpilib_keep_alives(int device, int active);
void brova_wpilib_clear_keep_alives(void);
// The frames heard for `device` on `bus` so far.
int brova_wpilib_frames_heard(int bus, int device);
// Whether this WPILib's CAN calls name a bus (2027): 1 or 0.
int brova_wpilib_names_buses(void);
// The bus of the last frame heard (always 0 on the 2026 HAL), or -1 before any.
int brova_wpilib_last_bus(void);

#ifdef __cplusplus
}  // extern "C"
#endif
