// Platform status codes used by the CAN and I2C layers.
#pragma once

#define HAL_SUCCESS 0
#define HAL_NO_AVAILABLE_RESOURCES -1004
#define HAL_PARAMETER_OUT_OF_RANGE -1028
#define HAL_RESOURCE_IS_ALLOCATED -1029
#define HAL_HANDLE_ERROR -1098
#define HAL_CAN_TIMEOUT -1154
