// The speed the objects of both languages send, the C++ objects' set and the Java objects'
// natives alike.
#pragma once

#include <algorithm>
#include <cmath>

#include "brova/detail/Checks.hpp"

namespace brova::detail {

// An object's speed is a fraction of full output: set(2.0) drives full forward, where the C entry
// points pass a speed on as it is (2.0 sends 200 hundredths, saturating at 255). NaN names no
// direction and is refused.
inline double objectSpeed(double speed) {
  check(!std::isnan(speed), "speed is NaN; give -1.0 (full reverse) to 1.0 (full forward)");
  return std::clamp(speed, -1.0, 1.0);
}

}  // namespace brova::detail
