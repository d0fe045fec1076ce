// A simulation's side of the Driver Station: enabling the robot.
#pragma once

#include "wpi/hal/Types.h"

#ifdef __cplusplus
extern "C" {
#endif

HAL_Bool HALSIM_GetDriverStationEnabled(void);

void HALSIM_SetDriverStationEnabled(HAL_Bool enabled);

// Hands what was set to the program, as a new packet from the Driver Station would.
void HALSIM_NotifyDriverStationNewData(void);

#ifdef __cplusplus
}  // extern "C"
#endif
