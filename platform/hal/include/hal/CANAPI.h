// CAN device handles.
#pragma once

#include <stdint.h>

#include "hal/CANAPITypes.h"
#include "hal/Types.h"

#ifdef __cplusplus
extern "C" {
#endif

HAL_CANHandle HAL_InitializeCAN(HAL_CANManufacturer manufacturer, int32_t deviceId,
                                HAL_CANDeviceType deviceType, int32_t* status);

void HAL_CleanCAN(HAL_CANHandle handle);

#ifdef __cplusplus
}  // extern "C"
#endif
