// Platform status codes used by the CAN and I2C layers (their names as the 2026 HAL spells them:
// the older resource codes carry no HAL_ prefix).
#pragma once

#define HAL_SUCCESS 0
#define NO_AVAILABLE_RESOURCES -1004
#define PARAMETER_OUT_OF_RANGE -1028
#define RESOURCE_IS_ALLOCATED -1029
#define HAL_HANDLE_ERROR -1098
#define HAL_CAN_TIMEOUT -1154
