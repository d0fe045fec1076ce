// No I2C bus on this platform: every transfer fails, and the first one says why.
#include "Platform.h"
#include "brovasocketcan/SocketCan.h"
#if BROVA_HAL >= 2027
#include "wpi/hal/I2C.h"
#else
#include "hal/I2C.h"
#endif

using brovasocketcan::Platform;

extern "C" {

void HAL_InitializeI2C(HAL_I2CPort, int32_t* status) {
  if (status != nullptr) *status = brovasocketcan::kStatusNoI2C;
}

int32_t HAL_WriteI2C(HAL_I2CPort, int32_t, const uint8_t*, int32_t) {
  Platform::instance().noteNoI2C();
  return brovasocketcan::kI2CTransferFailed;
}

int32_t HAL_ReadI2C(HAL_I2CPort, int32_t, uint8_t*, int32_t) {
  Platform::instance().noteNoI2C();
  return brovasocketcan::kI2CTransferFailed;
}

void HAL_CloseI2C(HAL_I2CPort) {}

}  // extern "C"
