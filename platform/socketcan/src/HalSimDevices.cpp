// Simulated devices on a robot: there are none. As on the robot controller's own HAL, no device
// or value is created (handle 0), a device's name is empty, a value reads as HAL_UNASSIGNED, and
// a free, set or reset does nothing.
#if BROVA_HAL >= 2027
#include "wpi/hal/SimDevice.h"
#else
#include "hal/SimDevice.h"
#endif

extern "C" {

HAL_SimDeviceHandle HAL_CreateSimDevice(const char* /*name*/) { return 0; }

void HAL_FreeSimDevice(HAL_SimDeviceHandle /*handle*/) {}

const char* HAL_GetSimDeviceName(HAL_SimDeviceHandle /*handle*/) { return ""; }

HAL_SimValueHandle HAL_CreateSimValue(HAL_SimDeviceHandle /*device*/, const char* /*name*/,
                                      int32_t /*direction*/,
                                      const struct HAL_Value* /*initialValue*/) {
  return 0;
}

void HAL_GetSimValue(HAL_SimValueHandle /*handle*/, struct HAL_Value* value) {
  if (value == nullptr) return;
  value->data.v_long = 0;
  value->type = HAL_UNASSIGNED;
}

void HAL_SetSimValue(HAL_SimValueHandle /*handle*/, const struct HAL_Value* /*value*/) {}

void HAL_ResetSimValue(HAL_SimValueHandle /*handle*/) {}

}  // extern "C"
