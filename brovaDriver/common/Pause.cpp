#include "common/Pause.h"

#include <chrono>
#include <cstdint>
#include <thread>

#ifdef __linux__
#include <sys/prctl.h>
#endif

namespace brova {
namespace {

// The kernel may wake a sleeping thread as late as its timer slack (50 µs by default) to batch
// wake-ups; a query's pause is part of the robot loop's time, so it asks for the finest slack,
// for this sleep only: the caller's thread keeps its own setting.
class FineTimerSlack {
 public:
  FineTimerSlack() {
#ifdef __linux__
    const int previous = prctl(PR_GET_TIMERSLACK, 0, 0, 0, 0);
    if (previous > 0 && prctl(PR_SET_TIMERSLACK, 1UL, 0, 0, 0) == 0) previous_ = previous;
#endif
  }
  ~FineTimerSlack() {
#ifdef __linux__
    if (previous_ > 0) prctl(PR_SET_TIMERSLACK, static_cast<unsigned long>(previous_), 0, 0, 0);
#endif
  }
  FineTimerSlack(const FineTimerSlack&) = delete;
  FineTimerSlack& operator=(const FineTimerSlack&) = delete;

 private:
  int previous_ = 0;
};

// Even with the finest slack the kernel wakes a sleeper some tens of microseconds late (its
// scheduling latency). The sleep therefore ends this much early, and the rest of the pause is
// waited out on the clock: a few microseconds of spinning, not a late reply read.
constexpr auto kWakeUpMargin = std::chrono::microseconds(60);

}  // namespace

void pause(double seconds) {
  using Clock = std::chrono::steady_clock;
  const auto length = std::chrono::milliseconds(static_cast<int64_t>(seconds * 1000));
  const Clock::time_point end = Clock::now() + length;
  if (length > kWakeUpMargin) {
    const FineTimerSlack slack;
    std::this_thread::sleep_until(end - kWakeUpMargin);
  }
  while (Clock::now() < end) {
  }
}

}  // namespace brova
