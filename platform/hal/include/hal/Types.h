// Handle and enum types of the robot platform's hardware abstraction layer.
#pragma once

#include <stdint.h>

#define HAL_kInvalidHandle 0

typedef int32_t HAL_Handle;

typedef HAL_Handle HAL_CANHandle;

typedef HAL_Handle HAL_SimDeviceHandle;

typedef HAL_Handle HAL_SimValueHandle;

typedef int32_t HAL_Bool;

// An enum with a 32-bit underlying type in C++, C compiled by clang, and plain C.
#ifdef __cplusplus
#define HAL_ENUM(name) enum name : int32_t
#elif defined(__clang__)
#define HAL_ENUM(name)    \
  enum name : int32_t;    \
  typedef enum name name; \
  enum name : int32_t
#else
#define HAL_ENUM(name)  \
  typedef int32_t name; \
  enum name
#endif
