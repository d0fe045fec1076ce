// The platform's robot-state functions over the simulated robot: what the program runs on (a
// simulation), whether the system is active and, in the 2027 generation, the Driver Station's
// control word.
#include "Bus.h"

#if BROVA_HAL >= 2027
#include "wpi/hal/DriverStation.h"
#include "wpi/hal/Errors.h"
#include "wpi/hal/HAL.h"
#else
#include "hal/Errors.h"
#include "hal/HALBase.h"
#endif

using brovasim::Bus;
using brovasim::withBus;

extern "C" {

HAL_RuntimeType HAL_GetRuntimeType(void) {
#if BROVA_HAL >= 2027
  return HAL_RUNTIME_SIMULATION;
#else
  return HAL_Runtime_Simulation;
#endif
}

HAL_Bool HAL_GetSystemActive(int32_t* status) {
  return withBus([=](Bus& b) {
    if (!b.robot.systemActiveSupported) {
      ++b.robot.activeQueries;
      if (status != nullptr) *status = HAL_HANDLE_ERROR;
      return false;
    }
    if (status != nullptr) *status = HAL_SUCCESS;
    return b.robot.answerActive();
  });
}

#if BROVA_HAL >= 2027
int32_t HAL_GetUncachedControlWord(HAL_ControlWord* controlWord) {
  return withBus([=](Bus& b) {
    const int64_t following =
        HAL_CONTROLWORD_DS_ATTACHED_MASK | (b.robot.active ? HAL_CONTROLWORD_ENABLED_MASK : 0);
    if (controlWord != nullptr) controlWord->value = b.robot.controlWord.value_or(following);
    return b.robot.controlWordResult;
  });
}
#endif

}  // extern "C"
