// The robot's state: enabled only while the program or the environment says so (see
// EnableSwitch). The 2027 generation's control word tells the same: a Driver Station is always
// taken as attached, and enabled while the switch is on. The program runs on a robot, as far as
// it asks: the robot controller of the generation (the second roboRIO in 2026).
#include "Platform.h"

#if BROVA_HAL >= 2027
#include "wpi/hal/DriverStation.h"
#include "wpi/hal/Errors.h"
#include "wpi/hal/HAL.h"
#else
#include "hal/Errors.h"
#include "hal/HALBase.h"
#endif

extern "C" {

HAL_RuntimeType HAL_GetRuntimeType(void) {
#if BROVA_HAL >= 2027
  return HAL_RUNTIME_SYSTEMCORE;
#else
  return HAL_Runtime_RoboRIO2;
#endif
}

HAL_Bool HAL_GetSystemActive(int32_t* status) {
  if (status != nullptr) *status = HAL_SUCCESS;
  return brovasocketcan::Platform::instance().enableSwitch().enabledAt();
}

#if BROVA_HAL >= 2027
int32_t HAL_GetUncachedControlWord(HAL_ControlWord* controlWord) {
  if (controlWord == nullptr) return HAL_SUCCESS;
  const bool enabled = brovasocketcan::Platform::instance().enableSwitch().enabledAt();
  controlWord->value =
      HAL_CONTROLWORD_DS_ATTACHED_MASK | (enabled ? HAL_CONTROLWORD_ENABLED_MASK : 0);
  return HAL_SUCCESS;
}
#endif

}  // extern "C"
