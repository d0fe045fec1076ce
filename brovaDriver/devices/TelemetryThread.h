// The one thread that reads every open device's telemetry: the controllers' (Telemetry.h) and
// the analog board's. Each device on it is a member that the thread advances whenever the
// member asked to be, a member never waiting in the thread: it sends, or starts a transfer, and
// says when it wants to look again.
#pragma once

#include <algorithm>
#include <chrono>
#include <memory>

namespace brova::devices::telemetry {

using Clock = std::chrono::steady_clock;

// How often a member that waits for something is looked at again, at most.
inline constexpr auto kPoll = std::chrono::microseconds(200);

// `period` as a member keeps it: 0 (back to back) up to a day, which stands for any longer
// period so that the next round's time cannot overflow.
inline std::chrono::nanoseconds boundedPeriod(std::chrono::nanoseconds period) {
  return std::clamp<std::chrono::nanoseconds>(period, std::chrono::nanoseconds::zero(),
                                              std::chrono::hours(24));
}

// One device on the thread. Touched by the thread only, once joined.
class Member {
 public:
  virtual ~Member() = default;
  // Advances as far as it can go now; returns when it next needs the thread (time_point::max()
  // for never).
  virtual Clock::time_point step() = 0;
  // The CAN frames per second it puts on `bus`, requests and replies.
  virtual double framesPerSecondOn(int bus) const = 0;
};

// Puts `member` on the thread for `owner`, which has none there (leave first). Starts the thread
// on first need: throws std::system_error when it cannot start, std::bad_alloc when memory runs
// out, and the member is not on the thread then.
void join(const void* owner, std::unique_ptr<Member> member);

// Takes `owner`'s member off the thread; when this returns, the thread no longer touches it.
// False when `owner` had none there.
bool leave(const void* owner) noexcept;

// The frames per second every member puts on `bus`.
double framesPerSecondOn(int bus);

}  // namespace brova::devices::telemetry
