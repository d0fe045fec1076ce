#include "EnableSwitch.h"

#include <cmath>
#include <cstdlib>
#include <string>

namespace brovasocketcan {

namespace {
constexpr double kLongestEnableSeconds = 24 * 60 * 60;
}  // namespace

void EnableSwitch::enableFor(Clock::duration duration, Clock::time_point now) {
  std::lock_guard lock(mutex_);
  until_ = duration > Clock::duration::zero() ? now + duration : Clock::time_point{};
}

void EnableSwitch::disable() {
  std::lock_guard lock(mutex_);
  until_ = {};
}

bool EnableSwitch::enabledAt(Clock::time_point now) const {
  std::lock_guard lock(mutex_);
  return now < until_;
}

std::optional<std::chrono::milliseconds> parseEnableSeconds(std::string_view text) {
  const std::string copy(text);
  char* end = nullptr;
  const double seconds = std::strtod(copy.c_str(), &end);
  if (copy.empty() || end != copy.c_str() + copy.size()) return std::nullopt;
  if (!std::isfinite(seconds) || seconds <= 0 || seconds > kLongestEnableSeconds) {
    return std::nullopt;
  }
  const auto milliseconds = std::chrono::milliseconds(std::llround(seconds * 1000));
  if (milliseconds.count() == 0) return std::nullopt;
  return milliseconds;
}

}  // namespace brovasocketcan
