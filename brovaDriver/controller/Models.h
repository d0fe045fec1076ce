// The two controller models: their descriptions, with their device slots.
#pragma once

#include <cstdint>

#include "controller/Description.h"

namespace brova::controller {

const Model& brovaQuadModel();
const Model& brovaSmallModel();

// The single-channel model's frames carry 0 where the four-channel model's carry a motor or
// encoder number.
inline constexpr uint8_t kOnlyChannel = 0;

}  // namespace brova::controller
