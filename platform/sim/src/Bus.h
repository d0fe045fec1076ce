// The simulated platform's state, one per process, and the lock every access takes.
#pragma once

#include <array>
#include <condition_variable>
#include <mutex>
#include <utility>

#include "Faults.h"
#include "FrameStore.h"
#include "Records.h"
#include "RobotState.h"
#include "brovasim/SimCan.h"

namespace brovasim {

// What each CAN bus has of its own.
struct CanBus {
  FrameStore frames;
  Faults faults;
};

struct Bus {
  std::mutex mutex;
  std::condition_variable sent;  // notified after every send
  std::array<CanBus, can::kBuses> can;
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

// Throws std::out_of_range unless `bus` is one of the simulated buses: the control functions'
// check of the bus they are given.
void checkBus(int32_t bus);

}  // namespace brovasim
