// Robot system state.
#pragma once

#include <stdint.h>

#include "wpi/hal/Types.h"

#ifdef __cplusplus
extern "C" {
#endif

HAL_Bool HAL_GetSystemActive(int32_t* status);

#ifdef __cplusplus
}  // extern "C"
#endif
