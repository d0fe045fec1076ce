// A value read from a device, when, and whether the device answered the last time it was asked.
#ifndef BROVADRIVER_BROVA_READING_HPP
#define BROVADRIVER_BROVA_READING_HPP

#include <chrono>
#include <limits>

namespace brova {

using Clock = std::chrono::steady_clock;

enum class ReadingState {
  NotRead,  // not read yet: the value is NaN
  Fresh,    // the telemetry runs and the device answered its latest request, lately: value and
            // time are that answer's
  Missing,  // the device did not answer the latest request: value and time are the last
            // answer's (NaN and none if it never answered)
  Stale,    // the device answered the latest request, but the telemetry stopped since, or has
            // not confirmed the value for three of its rounds: value and time are that answer's
};

struct Reading {
  double value = std::numeric_limits<double>::quiet_NaN();
  Clock::time_point readAt{};
  ReadingState state = ReadingState::NotRead;

  // Whether the value was read from the device at some time (it may be missing since).
  bool present() const { return readAt != Clock::time_point{}; }
  bool fresh() const { return state == ReadingState::Fresh; }
  bool missing() const { return state == ReadingState::Missing; }
  // How long ago the value was read; the longest duration before the first read, so that
  // `age() < limit` fails for a value never read.
  Clock::duration age() const { return present() ? Clock::now() - readAt : Clock::duration::max(); }
};

// "fresh", "missing", "stale" or "not read".
inline const char* toString(ReadingState state) {
  switch (state) {
    case ReadingState::Fresh: return "fresh";
    case ReadingState::Missing: return "missing";
    case ReadingState::Stale: return "stale";
    default: return "not read";
  }
}

}  // namespace brova

#endif  // BROVADRIVER_BROVA_READING_HPP
