// A typed value, as simulated devices hold them.
#pragma once

#include <stdint.h>

#include "wpi/hal/Types.h"

// The kind of a HAL_Value: which member of its data holds it (none when unassigned).
enum HAL_Type {
  HAL_UNASSIGNED = 0,
  HAL_BOOLEAN = 0x01,
  HAL_DOUBLE = 0x02,
  HAL_ENUM = 0x04,
  HAL_INT = 0x08,
  HAL_LONG = 0x10,
};

struct HAL_Value {
  union {
    HAL_Bool v_boolean;
    int32_t v_enum;
    int32_t v_int;
    int64_t v_long;
    double v_double;
  } data;
  enum HAL_Type type;
};
