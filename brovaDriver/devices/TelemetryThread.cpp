#include "devices/TelemetryThread.h"

#include <algorithm>
#include <condition_variable>
#include <mutex>
#include <vector>

#include "devices/BackgroundThread.h"

#ifdef __linux__
#include <sys/prctl.h>
#endif

namespace brova::devices::telemetry {
namespace {

struct Joined {
  const void* owner;
  std::unique_ptr<Member> member;
  // Guarded by the loop's mutex like the list itself.
  bool leaving = false;
};

// Never destroyed: the detached thread may use it while the process exits.
struct Loop {
  std::mutex mutex;
  std::condition_variable wake;
  std::condition_variable left;
  std::vector<Joined> members;
  bool running = false;
};

Loop& loop() {
  static Loop* const instance = new Loop;
  return *instance;
}

void run() noexcept {
#ifdef __linux__
  // Every wait of this thread is a short timed poll: the kernel's default slack (50 µs) would
  // stretch each by a quarter.
  prctl(PR_SET_TIMERSLACK, 1UL, 0UL, 0UL, 0UL);
#endif
  Loop& l = loop();
  std::unique_lock lock(l.mutex);
  const auto leaving = [](const Joined& j) { return j.leaving; };
  for (;;) {
    try {
      if (std::erase_if(l.members, leaving) > 0) l.left.notify_all();
      Clock::time_point next = Clock::time_point::max();
      for (const Joined& j : l.members) next = std::min(next, j.member->step());
      const auto anyLeaving = [&l, &leaving] {
        return std::any_of(l.members.begin(), l.members.end(), leaving);
      };
      if (next == Clock::time_point::max()) {
        l.wake.wait(lock);
      } else {
        l.wake.wait_until(lock, next, anyLeaving);
      }
    } catch (...) {
      // Nothing here throws but a broken platform; it costs this pass.
    }
  }
}

auto find(Loop& l, const void* owner) {
  return std::find_if(l.members.begin(), l.members.end(),
                      [owner](const Joined& j) { return j.owner == owner; });
}

}  // namespace

void join(const void* owner, std::unique_ptr<Member> member) {
  Loop& l = loop();
  std::lock_guard lock(l.mutex);
  l.members.reserve(l.members.size() + 1);
  if (!l.running) {
    startBackgroundThread(run, "brova-telemetry");
    l.running = true;
  }
  l.members.push_back(Joined{.owner = owner, .member = std::move(member)});
  l.wake.notify_one();
}

bool leave(const void* owner) noexcept {
  Loop& l = loop();
  std::unique_lock lock(l.mutex);
  const auto joined = find(l, owner);
  if (joined == l.members.end()) return false;
  joined->leaving = true;
  l.wake.notify_one();
  l.left.wait(lock, [&l, owner] { return find(l, owner) == l.members.end(); });
  return true;
}

double framesPerSecondOn(int bus) {
  Loop& l = loop();
  std::lock_guard lock(l.mutex);
  double total = 0.0;
  for (const Joined& j : l.members) total += j.member->framesPerSecondOn(bus);
  return total;
}

}  // namespace brova::devices::telemetry
