// A value read from a device, and when.
#ifndef BROVADRIVER_BROVA_READING_HPP
#define BROVADRIVER_BROVA_READING_HPP

#include <chrono>
#include <limits>

namespace brova {

using Clock = std::chrono::steady_clock;

// Before the first read: NaN, not present.
struct Reading {
  double value = std::numeric_limits<double>::quiet_NaN();
  Clock::time_point readAt{};

  bool present() const { return readAt != Clock::time_point{}; }
  // How long ago the value was read (zero before the first read).
  Clock::duration age() const { return present() ? Clock::now() - readAt : Clock::duration{}; }
};

}  // namespace brova

#endif  // BROVADRIVER_BROVA_READING_HPP
