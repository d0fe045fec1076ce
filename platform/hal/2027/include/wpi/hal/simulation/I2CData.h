// A simulation's side of the I2C ports: callbacks that answer each read and see each write on
// port `index`.
#pragma once

#include <stdint.h>

#include "wpi/hal/Types.h"
#include "wpi/hal/simulation/NotifyListener.h"

#ifdef __cplusplus
extern "C" {
#endif

int32_t HALSIM_RegisterI2CReadCallback(int32_t index, HAL_BufferCallback callback, void* param);

void HALSIM_CancelI2CReadCallback(int32_t index, int32_t uid);

int32_t HALSIM_RegisterI2CWriteCallback(int32_t index, HAL_ConstBufferCallback callback,
                                        void* param);

void HALSIM_CancelI2CWriteCallback(int32_t index, int32_t uid);

#ifdef __cplusplus
}  // extern "C"
#endif
