// Robot system state.
#pragma once

#include <stdint.h>

#include "wpi/hal/Types.h"

#ifdef __cplusplus
extern "C" {
#endif

// Whether the robot's outputs may run. The 2027 robot controller's HAL does not answer it: it
// reports HAL_HANDLE_ERROR and false; the Driver Station's control word tells instead.
HAL_Bool HAL_GetSystemActive(int32_t* status);

#ifdef __cplusplus
}  // extern "C"
#endif
