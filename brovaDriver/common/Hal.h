// The platform's robot-state and I2C calls, whose declarations are the same in both HAL
// generations: only the folder of their headers differs (BROVA_HAL), and the names of the I2C
// ports. The CAN calls, which do differ, are reached through can/Link.h only.
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

namespace brova {

// I2C port 1, where the analog board sits until initialised on another: the 2026 HAL names it
// the MXP port, the 2027 one by its number.
#if BROVA_HAL >= 2027
inline constexpr HAL_I2CPort kI2CPort1 = HAL_I2C_PORT_1;
#else
inline constexpr HAL_I2CPort kI2CPort1 = HAL_I2C_kMXP;
#endif

}  // namespace brova
