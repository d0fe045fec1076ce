#include "devices/KeepAliveLoop.h"

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>
#include <vector>

#include "can/Link.h"
#include "controller/KeepAlive.h"
#include "devices/BackgroundThread.h"

namespace brova::devices::keepalive {
namespace {

using Clock = std::chrono::steady_clock;
constexpr auto kPeriod = std::chrono::milliseconds(100);

// Never destroyed: the detached thread may use it while the process exits.
struct Loop {
  std::mutex mutex;
  std::condition_variable wake;
  std::vector<can::Address> devices;
  std::vector<can::Address> newcomers;  // added since the last pass, not yet sent a frame
  bool running = false;
};

Loop& loop() {
  static Loop* const instance = new Loop;
  return *instance;
}

// Frames are sent with the lock held, so remove() returning means no pass is sending.
void sendTo(const std::vector<can::Address>& devices) {
  static constexpr can::Payload kZeros{};
  if (devices.empty()) return;
  if (const auto frame = controller::keepAliveFrame()) {
    for (const can::Address device : devices) can::sendFrame(*frame, kZeros, device);
  }
}

void run() noexcept {
  controller::prepareKeepAliveThread();
  Loop& l = loop();
  std::unique_lock lock(l.mutex);
  Clock::time_point next = Clock::now();
  for (;;) {
    try {
      const Clock::time_point now = Clock::now();
      if (!l.newcomers.empty()) {
        if (l.devices.empty()) next = now + kPeriod;
        sendTo(l.newcomers);
        l.devices.insert(l.devices.end(), l.newcomers.begin(), l.newcomers.end());
        l.newcomers.clear();
      }
      if (!l.devices.empty() && now >= next) {
        sendTo(l.devices);
        next += kPeriod;
        if (next <= now) next = now + kPeriod;  // late by a whole period: no burst to catch up
      }
      const auto added = [&l] { return !l.newcomers.empty(); };
      if (l.devices.empty()) {
        l.wake.wait(lock, added);
      } else {
        l.wake.wait_until(lock, next, added);
      }
    } catch (...) {
      // A platform call that throws costs this pass, not the robot program.
    }
  }
}

}  // namespace

void add(can::Address device) {
  Loop& l = loop();
  std::lock_guard lock(l.mutex);
  l.newcomers.reserve(l.newcomers.size() + l.devices.size() + 1);
  l.devices.reserve(l.newcomers.capacity());
  if (!l.running) {
    startBackgroundThread(run, "brova-devalive");
    l.running = true;
  }
  l.newcomers.push_back(device);
  l.wake.notify_one();
}

void remove(can::Address device) noexcept {
  Loop& l = loop();
  std::lock_guard lock(l.mutex);
  std::erase(l.devices, device);
  std::erase(l.newcomers, device);
}

}  // namespace brova::devices::keepalive
