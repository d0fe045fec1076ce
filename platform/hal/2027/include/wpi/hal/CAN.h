// Raw CAN frames on a bus: send one, take the latest one with an identifier.
#pragma once

#include <stdint.h>

#include "wpi/hal/CANAPITypes.h"
#include "wpi/hal/Types.h"

#define HAL_ERR_CANSessionMux_InvalidBuffer -44086
#define HAL_ERR_CANSessionMux_MessageNotFound -44087
#define HAL_ERR_CANSessionMux_NotAllowed -44088
#define HAL_ERR_CANSessionMux_NotInitialized -44089

#ifdef __cplusplus
extern "C" {
#endif

void HAL_CAN_SendMessage(int32_t busId, uint32_t messageId, const struct HAL_CANMessage* message,
                         int32_t periodMs, int32_t* status);

void HAL_CAN_ReceiveMessage(int32_t busId, uint32_t messageId,
                            struct HAL_CANReceiveMessage* message, int32_t* status);

#ifdef __cplusplus
}  // extern "C"
#endif
