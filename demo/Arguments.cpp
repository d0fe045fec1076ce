#include "Arguments.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "brova/Limits.hpp"

namespace demo {
namespace {

// An integer in low..high.
bool parseInt(const char* text, int low, int high, int& out) {
  char* end = nullptr;
  const long value = std::strtol(text, &end, 10);
  if (end == text || *end != '\0' || value < low || value > high) return false;
  out = static_cast<int>(value);
  return true;
}

// A driving time in seconds, more than 0 and at most an hour.
bool parseSeconds(const char* text, double& out) {
  char* end = nullptr;
  const double value = std::strtod(text, &end);
  if (end == text || *end != '\0' || !(value > 0) || value > 3600) return false;
  out = value;
  return true;
}

// What an option of the robot program did with its value.
enum class RobotOption { Taken, NotOne, Bad };

// Reads `arg` and its `value` (null when none follows) into `settings` when `arg` is one of the
// robot program's options.
RobotOption readRobotOption(const char* arg, const char* value, RobotSettings& settings) {
  if (value == nullptr) return RobotOption::NotOne;
  bool ok = false;
  if (!std::strcmp(arg, "--seconds")) {
    ok = parseSeconds(value, settings.seconds);
  } else if (!std::strcmp(arg, "--left")) {
    ok = parseInt(value, brova::kLowestDeviceNumber, brova::kHighestDeviceNumber,
                  settings.leftDevice);
  } else if (!std::strcmp(arg, "--right")) {
    ok = parseInt(value, brova::kLowestDeviceNumber, brova::kHighestDeviceNumber,
                  settings.rightDevice);
  } else if (!std::strcmp(arg, "--small")) {
    ok = parseInt(value, brova::kLowestDeviceNumber, brova::kHighestDeviceNumber,
                  settings.smallDevice);
  } else {
    return RobotOption::NotOne;
  }
  return ok ? RobotOption::Taken : RobotOption::Bad;
}

}  // namespace

std::optional<int> readCommandLine(int argc, char** argv, const char* program, const char* usage,
                                   RobotSettings& settings, const ExtraOption& extra) {
  const auto usageError = [&](const char* message, const char* arg) {
    std::fprintf(stderr, "%s: %s%s\n\n%s", program, message, arg, usage);
    return 2;
  };
  // Read into a copy: a refused command line leaves the settings as they were.
  RobotSettings read = settings;
  for (int i = 1; i < argc; ++i) {
    const char* arg = argv[i];
    const char* value = i + 1 < argc ? argv[i + 1] : nullptr;
    const RobotOption robot = readRobotOption(arg, value, read);
    if (robot == RobotOption::Bad) return usageError("bad value for ", arg);
    if (robot == RobotOption::Taken) {
      ++i;
    } else if (!std::strcmp(arg, "-h") || !std::strcmp(arg, "--help")) {
      std::fputs(usage, stdout);
      return 0;
    } else if (!std::strcmp(arg, extra.name) && value) {
      if (!extra.take(value)) return usageError("bad value for ", arg);
      ++i;
    } else {
      return usageError("unknown or incomplete option ", arg);
    }
  }
  // The bus addresses a controller by its number alone: one object a number.
  if (read.leftDevice == read.rightDevice || read.leftDevice == read.smallDevice ||
      read.rightDevice == read.smallDevice) {
    return usageError("the controllers need three different device numbers", "");
  }
  settings = read;
  return std::nullopt;
}

}  // namespace demo
