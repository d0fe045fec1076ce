#include "StopRequest.h"

#include <condition_variable>
#include <mutex>

namespace brovactl {
namespace {

struct State {
  std::mutex mutex;
  std::condition_variable wake;
  bool requested = false;
};

// Never destroyed: the thread that relays the stop signals may still use it while the program
// exits.
State& state() {
  static State* const shared = new State;
  return *shared;
}

}  // namespace

void requestStop() {
  State& s = state();
  {
    std::lock_guard lock(s.mutex);
    s.requested = true;
  }
  s.wake.notify_all();
}

void clearStopRequest() {
  State& s = state();
  std::lock_guard lock(s.mutex);
  s.requested = false;
}

bool stopRequested() {
  State& s = state();
  std::lock_guard lock(s.mutex);
  return s.requested;
}

bool waitUntilOrStop(Clock::time_point deadline) {
  State& s = state();
  std::unique_lock lock(s.mutex);
  return s.wake.wait_until(lock, deadline, [&s] { return s.requested; });
}

}  // namespace brovactl
