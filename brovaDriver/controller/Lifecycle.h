// Opening and closing a controller.
#pragma once

#include <cstdint>

#include "controller/Model.h"

namespace brova::controller {

inline constexpr int32_t kLowestDeviceNumber = 1;
inline constexpr int32_t kHighestDeviceNumber = 63;
inline constexpr int32_t kLowestFrequency = 0;
inline constexpr int32_t kHighestFrequency = 20000;

// Checks the arguments, records the device number, obtains a CAN handle, configures `motor`
// with `frequency` and starts the keep-alive task. Returns the handle, or 0 on failure (with
// its console line). `flag`, when not null, is set to false. Never throws.
int32_t create(const Model& model, int16_t device, int16_t frequency, bool* flag,
               uint8_t motor) noexcept;

// Stops the keep-alive task of the create that returned `handle` and releases the handle. The
// recorded device number stays. Never throws.
void destroy(const Model& model, int32_t handle) noexcept;

}  // namespace brova::controller
