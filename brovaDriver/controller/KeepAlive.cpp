#include "controller/KeepAlive.h"

#include <chrono>
#include <memory>

#include "can/Identifiers.h"
#include "can/Link.h"
#include "common/RobotState.h"

#ifdef __linux__
#include <pthread.h>
#include <sched.h>
#include <sys/prctl.h>
#endif

namespace brova::controller {

namespace {
constexpr auto kKeepAlivePeriod = std::chrono::milliseconds(100);
}  // namespace

struct KeepAliveTask {
  int32_t device = 0;
  int32_t handle = 0;
  std::mutex mutex;
  std::condition_variable wake;
  bool stopping = false;
  std::thread thread;
  KeepAliveTask* next = nullptr;
};

namespace {

std::thread startOperatingSystemThread(void (*body)(KeepAliveTask*), KeepAliveTask* task) {
  return std::thread(body, task);
}

void sendKeepAlive(int32_t device) {
  static constexpr can::Payload kZeros{};
  if (const auto frame = keepAliveFrame()) {
    can::sendFrame(*frame, kZeros, {.bus = 0, .device = device});
  }
}

// Sends, then sleeps 100 ms, until stopped. The sleep is a wait that a stop cuts short, so
// destroy does not wait out a period.
void run(KeepAliveTask* task) {
  prepareKeepAliveThread();
  std::unique_lock lock(task->mutex);
  while (!task->stopping) {
    lock.unlock();
    try {
      sendKeepAlive(task->device);
    } catch (...) {
      // A platform call that throws costs this pass, not the robot program.
    }
    lock.lock();
    task->wake.wait_for(lock, kKeepAlivePeriod, [task] { return task->stopping; });
  }
}

}  // namespace

std::optional<uint32_t> keepAliveFrame() {
  if (!robotActive()) return can::kKeepAliveInactive;
  if (robotActive()) return can::kKeepAliveActive;
  return std::nullopt;
}

void prepareKeepAliveThread() {
#ifdef __linux__
  // The keep-alive is the one thread whose timing the controller watches. Without these the
  // kernel may wake it up to 50 µs late every period, and many milliseconds late while the
  // robot program keeps every core busy. The lowest real-time priority is enough to run ahead
  // of ordinary threads; where the process may not use it, the thread stays ordinary.
  prctl(PR_SET_TIMERSLACK, 1UL, 0UL, 0UL, 0UL);
  const sched_param lowestRealTime{.sched_priority = sched_get_priority_min(SCHED_FIFO)};
  pthread_setschedparam(pthread_self(), SCHED_FIFO, &lowestRealTime);
#endif
}

constinit ThreadStarter startThread = startOperatingSystemThread;

void KeepAliveTasks::start(int32_t device, int32_t handle) {
  auto task = std::make_unique<KeepAliveTask>();
  task->device = device;
  task->handle = handle;
  std::lock_guard lock(mutex_);
  task->thread = startThread(run, task.get());
#ifdef __linux__
  // Named before create returns, so the thread is easy to find in a process listing.
  if (task->thread.joinable()) pthread_setname_np(task->thread.native_handle(), "brova-keepalive");
#endif
  // Appended, so the list runs from the oldest task to the newest.
  KeepAliveTask** tail = &head_;
  while (*tail != nullptr) tail = &(*tail)->next;
  *tail = task.release();
}

std::optional<int32_t> KeepAliveTasks::stop(int32_t handle) {
  KeepAliveTask* task = nullptr;
  {
    std::lock_guard lock(mutex_);
    for (KeepAliveTask** link = &head_; *link != nullptr; link = &(*link)->next) {
      if ((*link)->handle == handle) {
        task = *link;
        *link = task->next;
        break;
      }
    }
  }
  if (task == nullptr) return std::nullopt;
  {
    std::lock_guard lock(task->mutex);
    task->stopping = true;
  }
  task->wake.notify_all();
  task->thread.join();
  const int32_t device = task->device;
  delete task;
  return device;
}

}  // namespace brova::controller
