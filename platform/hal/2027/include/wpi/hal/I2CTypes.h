// I2C ports of the robot controller.
#pragma once

#include "wpi/hal/Types.h"

HAL_ENUM(HAL_I2CPort){HAL_I2C_kInvalid = -1, HAL_I2C_kOnboard, HAL_I2C_kMXP};
