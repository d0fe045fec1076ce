// The platform's robot-state and I2C calls, whose declarations are the same in both HAL
// generations: only the folder of their headers differs (BROVA_HAL). The CAN calls, which do
// differ, are reached through can/Link.h only.
#pragma once

#if BROVA_HAL >= 2027
#include "wpi/hal/HAL.h"
#include "wpi/hal/I2C.h"
#include "wpi/hal/I2CTypes.h"
#else
#include "hal/HALBase.h"
#include "hal/I2C.h"
#include "hal/I2CTypes.h"
#endif
