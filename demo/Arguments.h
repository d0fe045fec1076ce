// Command-line values of the demo programs, checked whole: "12x" or an out-of-range number is
// refused rather than read in part.
#pragma once

#include <cstdlib>
#include <cstring>

#include "RobotProgram.h"

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

// What an option of the robot program (--seconds S, --quad N, --small N) did with its value.
enum class RobotOption { Taken, NotOne, Bad };

// Reads `arg` and its `value` (null when none follows) into `settings` when `arg` is one of the
// robot program's options.
inline RobotOption readRobotOption(const char* arg, const char* value, RobotSettings& settings) {
  if (value == nullptr) return RobotOption::NotOne;
  bool ok = false;
  if (!std::strcmp(arg, "--seconds")) {
    ok = parseSeconds(value, settings.seconds);
  } else if (!std::strcmp(arg, "--quad")) {
    ok = parseInt(value, 1, 63, settings.quadDevice);
  } else if (!std::strcmp(arg, "--small")) {
    ok = parseInt(value, 1, 63, settings.smallDevice);
  } else {
    return RobotOption::NotOne;
  }
  return ok ? RobotOption::Taken : RobotOption::Bad;
}

}  // namespace demo
