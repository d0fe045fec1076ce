// Opening and closing a controller.
#pragma once

#include <cstdint>

#include "controller/Description.h"

namespace brova::controller {

// Checks the arguments, records the device number, obtains a CAN handle, configures `motor`
// with `frequency` and starts the keep-alive task. Returns the handle, or 0 on failure (with
// its console line). `flag`, when not null, is set to false. Never throws.
int32_t create(const Model& model, int16_t device, int16_t frequency, bool* flag,
               uint8_t motor) noexcept;

// Stops the keep-alive task of the create that returned `handle` and releases the handle. The
// recorded device number stays. Never throws.
void destroy(const Model& model, int32_t handle) noexcept;

}  // namespace brova::controller
