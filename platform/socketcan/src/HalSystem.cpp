// The robot's state: enabled only while the program or the environment says so (see
// EnableSwitch).
#include "Platform.h"
#include "hal/Errors.h"
#include "hal/HALBase.h"

extern "C" {

HAL_Bool HAL_GetSystemActive(int32_t* status) {
  if (status != nullptr) *status = HAL_SUCCESS;
  return brovasocketcan::Platform::instance().enableSwitch().enabledAt();
}

}  // extern "C"
