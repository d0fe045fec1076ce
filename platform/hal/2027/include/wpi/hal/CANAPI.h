// CAN device handles on a bus.
#pragma once

#include <stdint.h>

#include "wpi/hal/CANAPITypes.h"
#include "wpi/hal/Types.h"

#ifdef __cplusplus
extern "C" {
#endif

HAL_CANHandle HAL_InitializeCAN(int32_t busId, HAL_CANManufacturer manufacturer, int32_t deviceId,
                                HAL_CANDeviceType deviceType, int32_t* status);

void HAL_CleanCAN(HAL_CANHandle handle);

#ifdef __cplusplus
}  // extern "C"
#endif
