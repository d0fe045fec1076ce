// Handle and enum types of the robot platform's hardware abstraction layer.
#pragma once

#include <stdint.h>

#define HAL_INVALID_HANDLE 0

typedef int32_t HAL_Handle;

typedef HAL_Handle HAL_CANHandle;

typedef HAL_Handle HAL_SimDeviceHandle;

typedef HAL_Handle HAL_SimValueHandle;

typedef int32_t HAL_Bool;

// An enum with a given underlying type in C++, C compiled by clang, and plain C.
#ifdef __cplusplus
#define HAL_ENUM_WITH_UNDERLYING_TYPE(name, type) enum name : type
#elif defined(__clang__)
#define HAL_ENUM_WITH_UNDERLYING_TYPE(name, type) \
  enum name : type;                               \
  typedef enum name name;                         \
  enum name : type
#else
#define HAL_ENUM_WITH_UNDERLYING_TYPE(name, type) \
  typedef type name;                              \
  enum name
#endif

#define HAL_ENUM(name) HAL_ENUM_WITH_UNDERLYING_TYPE(name, int32_t)
