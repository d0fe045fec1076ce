// The Driver Station's control word: the robot's mode, enable and e-stop, as bits of one value.
#pragma once

#include <stdint.h>

#include "wpi/hal/Types.h"

#define HAL_CONTROLWORD_ENABLED_MASK 0x0400000000000000LL
#define HAL_CONTROLWORD_ESTOP_MASK 0x0800000000000000LL
#define HAL_CONTROLWORD_DS_ATTACHED_MASK 0x2000000000000000LL

struct HAL_ControlWord {
  int64_t value;
};
typedef struct HAL_ControlWord HAL_ControlWord;
