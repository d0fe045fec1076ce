// Robot system state, and what the program runs on.
#pragma once

#include <stdint.h>

#include "hal/Types.h"

// What the program runs on: a robot controller (the first or second revision) or a simulation.
HAL_ENUM(HAL_RuntimeType){HAL_Runtime_RoboRIO, HAL_Runtime_RoboRIO2, HAL_Runtime_Simulation};

#ifdef __cplusplus
extern "C" {
#endif

HAL_RuntimeType HAL_GetRuntimeType(void);

HAL_Bool HAL_GetSystemActive(int32_t* status);

#ifdef __cplusplus
}  // extern "C"
#endif
