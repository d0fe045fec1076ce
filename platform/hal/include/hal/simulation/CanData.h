// A simulation's side of the CAN bus: callbacks that see each send and answer each receive.
#pragma once

#include <stdint.h>

#include "hal/Types.h"

typedef void (*HAL_CAN_SendMessageCallback)(const char* name, void* param, uint32_t messageID,
                                            const uint8_t* data, uint8_t dataSize, int32_t periodMs,
                                            int32_t* status);

typedef void (*HAL_CAN_ReceiveMessageCallback)(const char* name, void* param, uint32_t* messageID,
                                               uint32_t messageIDMask, uint8_t* data,
                                               uint8_t* dataSize, uint32_t* timeStamp,
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
