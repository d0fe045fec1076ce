// Command-line values of the demo programs, checked whole: "12x" or an out-of-range number is
// refused rather than read in part.
#pragma once

#include <cstdlib>

namespace demo {

// An integer in low..high.
inline bool parseInt(const char* text, int low, int high, int& out) {
  char* end = nullptr;
  const long value = std::strtol(text, &end, 10);
  if (end == text || *end != '\0' || value < low || value > high) return false;
  out = static_cast<int>(value);
  return true;
}

// A driving time in seconds, more than 0 and at most an hour.
inline bool parseSeconds(const char* text, double& out) {
  char* end = nullptr;
  const double value = std::strtod(text, &end);
  if (end == text || *end != '\0' || !(value > 0) || value > 3600) return false;
  out = value;
  return true;
}

}  // namespace demo
