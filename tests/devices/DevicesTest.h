// Shared ground for the open-device tests: simulated controllers that answer at once (in the
// thread that sends the request, so no test depends on how fast a thread is scheduled), and
// the readings a device of each kind keeps.
#pragma once

#include <chrono>
#include <functional>
#include <memory>
#include <thread>
#include <vector>

#include "brovasim/SimController.h"
#include "devices/Device.h"
#include "support/SimTest.h"

namespace brova::testing {

using devices::Device;
using devices::Kind;
using devices::ReadingState;

// Generous: the suite also runs under emulation and the sanitizers on a busy machine.
inline constexpr auto kPatience = std::chrono::seconds(10);

inline bool waitUntil(const std::function<bool()>& condition,
                      std::chrono::milliseconds timeout = kPatience) {
  const auto until = std::chrono::steady_clock::now() + timeout;
  while (!condition()) {
    if (std::chrono::steady_clock::now() > until) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  return true;
}

inline std::shared_ptr<brovasim::SimController> answeringAtOnce(Kind kind, int number) {
  const auto model = kind == Kind::Quad ? brovasim::SimController::Model::Quad
                                        : brovasim::SimController::Model::Small;
  auto options = brovasim::SimController::defaults(model);
  options.replyLatency = std::chrono::microseconds(0);
  return brovasim::SimController::attach(model, number, options);
}

// The slots a device's full telemetry writes: current, RPM and count of four channels and the
// temperature for a BrovaQuad; current and count of channel 0 for a BrovaSmall.
inline std::vector<std::size_t> slotsOf(Kind kind) {
  if (kind == Kind::Small) return {0, 8};
  return {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};
}

inline bool allIn(const Device& device, ReadingState state) {
  for (const std::size_t slot : slotsOf(device.kind())) {
    if (device.readings().slots[slot].read().state != state) return false;
  }
  return true;
}

}  // namespace brova::testing
