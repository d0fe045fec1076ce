// Simulated devices: a named device with named values that a simulation reads and sets. On a
// robot they do nothing: a device is never created (handle 0), and every call on handle 0 is
// ignored.
#pragma once

#include <stdint.h>

#include "wpi/hal/Types.h"
#include "wpi/hal/Value.h"

// Which way a value goes: read by the program, written by it, or both.
HAL_ENUM(HAL_SimValueDirection){
    HAL_SIM_VALUE_INPUT = 0,
    HAL_SIM_VALUE_OUTPUT,
    HAL_SIM_VALUE_BIDIR,
};

#ifdef __cplusplus
extern "C" {
#endif

// 0 when no device is created: on a robot, or when `name` is already taken.
HAL_SimDeviceHandle HAL_CreateSimDevice(const char* name);

void HAL_FreeSimDevice(HAL_SimDeviceHandle handle);

const char* HAL_GetSimDeviceName(HAL_SimDeviceHandle handle);

// 0 when no value is created: no such device, or `name` already taken on it.
HAL_SimValueHandle HAL_CreateSimValue(HAL_SimDeviceHandle device, const char* name,
                                      int32_t direction, const struct HAL_Value* initialValue);

// A value of type HAL_UNASSIGNED when there is no such value.
void HAL_GetSimValue(HAL_SimValueHandle handle, struct HAL_Value* value);

void HAL_SetSimValue(HAL_SimValueHandle handle, const struct HAL_Value* value);

// Sets a number value (int, long or double) to 0; leaves any other value as it is.
void HAL_ResetSimValue(HAL_SimValueHandle handle);

#ifdef __cplusplus
}  // extern "C"
#endif
