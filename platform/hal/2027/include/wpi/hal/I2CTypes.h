// I2C ports of the robot controller.
#pragma once

#include <stdint.h>

#include "wpi/hal/Types.h"

HAL_ENUM(HAL_I2CPort){HAL_I2C_PORT_INVALID = -1, HAL_I2C_PORT_0, HAL_I2C_PORT_1};
