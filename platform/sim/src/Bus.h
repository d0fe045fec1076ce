// The simulated bus's state, one per process, and the lock every access takes.
#pragma once

#include <condition_variable>
#include <mutex>
#include <utility>

#include "Faults.h"
#include "FrameStore.h"
#include "Records.h"
#include "RobotState.h"

namespace brovasim {

struct Bus {
  std::mutex mutex;
  std::condition_variable sent;  // notified after every send
  FrameStore frames;
  Faults faults;
  Records records;
  Observers observers;
  RobotState robot;
  Handles handles;
};

Bus& bus();

// Calls f(bus) with the bus locked, and returns what it returns.
template <class F>
auto withBus(F&& f) {
  Bus& b = bus();
  std::lock_guard lock(b.mutex);
  return std::forward<F>(f)(b);
}

}  // namespace brovasim
