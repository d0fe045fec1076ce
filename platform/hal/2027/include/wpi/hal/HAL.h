// Robot system state, and what the program runs on.
#pragma once

#include <stdint.h>

#include "wpi/hal/Types.h"

// What the program runs on: the robot controller or a simulation.
HAL_ENUM(HAL_RuntimeType){HAL_RUNTIME_SYSTEMCORE, HAL_RUNTIME_SIMULATION};

#ifdef __cplusplus
extern "C" {
#endif

HAL_RuntimeType HAL_GetRuntimeType(void);

// Whether the robot's outputs may run. The 2027 robot controller's HAL does not answer it: it
// reports HAL_HANDLE_ERROR and false; the Driver Station's control word tells instead.
HAL_Bool HAL_GetSystemActive(int32_t* status);

#ifdef __cplusplus
}  // extern "C"
#endif
