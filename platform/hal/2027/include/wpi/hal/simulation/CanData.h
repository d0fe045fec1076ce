// A simulation's side of the CAN buses: callbacks that see each send and answer each receive, on
// the bus the call names. The messages are those of wpi/hal/CANAPITypes.h.
#pragma once

#include <stdint.h>

#include "wpi/hal/Types.h"

typedef void (*HAL_CAN_SendMessageCallback)(const char* name, void* param, int32_t busId,
                                            uint32_t messageId,
                                            const struct HAL_CANMessage* message, int32_t periodMs,
                                            int32_t* status);

typedef void (*HAL_CAN_ReceiveMessageCallback)(const char* name, void* param, int32_t busId,
                                               uint32_t messageId,
                                               struct HAL_CANReceiveMessage* message,
                                               int32_t* status);

#ifdef __cplusplus
extern "C" {
#endif

int32_t HALSIM_RegisterCanSendMessageCallback(HAL_CAN_SendMessageCallback callback, void* param);

void HALSIM_CancelCanSendMessageCallback(int32_t uid);

int32_t HALSIM_RegisterCanReceiveMessageCallback(HAL_CAN_ReceiveMessageCallback callback,
                                                 void* param);

void HALSIM_CancelCanReceiveMessageCallback(int32_t uid);

#ifdef __cplusplus
}  // extern "C"
#endif
