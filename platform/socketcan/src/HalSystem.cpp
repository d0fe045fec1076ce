// The robot's state: enabled only while the program or the environment says so (see
// EnableSwitch).
#include "Platform.h"

#if BROVA_HAL >= 2027
#include "wpi/hal/Errors.h"
#include "wpi/hal/HALBase.h"
#else
#include "hal/Errors.h"
#include "hal/HALBase.h"
#endif

extern "C" {

HAL_Bool HAL_GetSystemActive(int32_t* status) {
  if (status != nullptr) *status = HAL_SUCCESS;
  return brovasocketcan::Platform::instance().enableSwitch().enabledAt();
}

}  // extern "C"
