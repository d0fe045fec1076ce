// Handle and enum types of the robot platform's hardware abstraction layer.
#pragma once

#include <stdint.h>

typedef int32_t HAL_Handle;
typedef HAL_Handle HAL_CANHandle;
typedef int32_t HAL_Bool;

#define HAL_kInvalidHandle 0

#ifdef __cplusplus
#define HAL_ENUM(name) enum name : int32_t
#else
#define HAL_ENUM(name)  \
  typedef int32_t name; \
  enum name
#endif
