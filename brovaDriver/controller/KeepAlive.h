// Keep-alive tasks: one background thread per open controller, telling it every 100 ms whether
// the robot system is active.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <optional>
#include <thread>

namespace brova::controller {

struct KeepAliveTask;

// The keep-alive frame of one pass, asked of the platform now: the inactive frame when it says
// the robot is not active, the active frame only when it says active twice in a row, none
// otherwise. Every thread that sends keep-alive frames follows this rule.
std::optional<uint32_t> keepAliveFrame();

// Gives the calling thread the timing a keep-alive thread needs (see KeepAlive.cpp).
void prepareKeepAliveThread();

// Starts the thread of a task. Replaceable so that tests can make thread creation fail; the
// default starts an operating-system thread.
using ThreadStarter = std::thread (*)(void (*body)(KeepAliveTask*), KeepAliveTask* task);
extern ThreadStarter startThread;

// The tasks of one controller model, each tagged with the CAN handle of the create that
// started it. Constant-initialised and trivially destructible: loading or unloading the
// library runs none of its code, and tasks still running at exit are left alone.
class KeepAliveTasks {
 public:
  constexpr KeepAliveTasks() = default;

  // Starts a task addressing `device`. Throws std::system_error when the thread cannot start,
  // std::bad_alloc when memory runs out; nothing is started then.
  void start(int32_t device, int32_t handle);

  // Stops the oldest running task started with `handle` and waits for its thread to end, so it
  // sends nothing afterwards. Returns the device it addressed; nothing when no task carries that
  // handle.
  std::optional<int32_t> stop(int32_t handle);

 private:
  std::mutex mutex_;
  KeepAliveTask* head_ = nullptr;
};

}  // namespace brova::controller
