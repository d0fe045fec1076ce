// A simulation's side of the simulated devices: it learns of devices and values as they are
// created, freed and changed, and finds them by name.
#pragma once

#include <stdint.h>

#include "wpi/hal/Types.h"
#include "wpi/hal/Value.h"

typedef void (*HALSIM_SimDeviceCallback)(const char* name, void* param, HAL_SimDeviceHandle handle);

typedef void (*HALSIM_SimValueCallback)(const char* name, void* param, HAL_SimValueHandle handle,
                                        int32_t direction, const struct HAL_Value* value);

#ifdef __cplusplus
extern "C" {
#endif

// Calls `callback` for each device created from now on whose name starts with `prefix`, and,
// with `initialNotify`, at once for each such device there already is. Returns the uid that
// cancels it.
int32_t HALSIM_RegisterSimDeviceCreatedCallback(const char* prefix, void* param,
                                                HALSIM_SimDeviceCallback callback,
                                                HAL_Bool initialNotify);

void HALSIM_CancelSimDeviceCreatedCallback(int32_t uid);

// Calls `callback` for each device freed from now on whose name starts with `prefix`.
int32_t HALSIM_RegisterSimDeviceFreedCallback(const char* prefix, void* param,
                                              HALSIM_SimDeviceCallback callback,
                                              HAL_Bool initialNotify);

void HALSIM_CancelSimDeviceFreedCallback(int32_t uid);

// 0 when no device has that name.
HAL_SimDeviceHandle HALSIM_GetSimDeviceHandle(const char* name);

const char* HALSIM_GetSimDeviceName(HAL_SimDeviceHandle handle);

HAL_SimDeviceHandle HALSIM_GetSimValueDeviceHandle(HAL_SimValueHandle handle);

// Calls `callback` for each device whose name starts with `prefix`.
void HALSIM_EnumerateSimDevices(const char* prefix, void* param, HALSIM_SimDeviceCallback callback);

int32_t HALSIM_RegisterSimValueCreatedCallback(HAL_SimDeviceHandle device, void* param,
                                               HALSIM_SimValueCallback callback,
                                               HAL_Bool initialNotify);

void HALSIM_CancelSimValueCreatedCallback(int32_t uid);

// Calls `callback` with the new value on every set of the value.
int32_t HALSIM_RegisterSimValueChangedCallback(HAL_SimValueHandle handle, void* param,
                                               HALSIM_SimValueCallback callback,
                                               HAL_Bool initialNotify);

void HALSIM_CancelSimValueChangedCallback(int32_t uid);

// 0 when the device has no value of that name.
HAL_SimValueHandle HALSIM_GetSimValueHandle(HAL_SimDeviceHandle device, const char* name);

void HALSIM_EnumerateSimValues(HAL_SimDeviceHandle device, void* param,
                               HALSIM_SimValueCallback callback);

// Forgets every device and every device callback.
void HALSIM_ResetSimDeviceData(void);

#ifdef __cplusplus
}  // extern "C"
#endif
