#include "common/RobotState.h"

#include <cstdint>

#include "common/Hal.h"

#if BROVA_HAL >= 2027
#include "wpi/hal/DriverStation.h"
#include "wpi/hal/DriverStationTypes.h"
#endif

namespace brova {

#if BROVA_HAL >= 2027
namespace {

bool controlWordActive() {
  constexpr int64_t kRequired = HAL_CONTROLWORD_ENABLED_MASK | HAL_CONTROLWORD_DS_ATTACHED_MASK;
  constexpr int64_t kLooked = kRequired | HAL_CONTROLWORD_ESTOP_MASK;
  HAL_ControlWord word{};
  if (HAL_GetUncachedControlWord(&word) != 0) return false;
  return (word.value & kLooked) == kRequired;
}

}  // namespace
#endif

bool robotActive() {
  int32_t status = 0;
  const bool active = HAL_GetSystemActive(&status) != 0;
#if BROVA_HAL >= 2027
  // The robot controller's HAL has no system-active answer of its own (it reports
  // HAL_HANDLE_ERROR); any failure status hands the question to the control word.
  if (status != 0) return controlWordActive();
#endif
  return active;
}

}  // namespace brova
