// The Driver Station's view of the robot.
#pragma once

#include <stdint.h>

#include "wpi/hal/DriverStationTypes.h"
#include "wpi/hal/Types.h"

#ifdef __cplusplus
extern "C" {
#endif

// The latest control word, read now rather than from the cache the robot loop refreshes.
// Returns 0 on success; with no Driver Station attached the word is 0.
int32_t HAL_GetUncachedControlWord(HAL_ControlWord* controlWord);

#ifdef __cplusplus
}  // extern "C"
#endif
