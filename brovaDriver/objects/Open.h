// What an open controller object holds, shared by the two models' objects.
#pragma once

#include <array>
#include <atomic>
#include <chrono>
#include <memory>
#include <string>

#include "brova/Limits.hpp"
#include "brova/Reading.hpp"
#include "brova/detail/Checks.hpp"
#include "brova/detail/ControllerObject.hpp"
#include "devices/Device.h"
#include "devices/Kinds.h"
#include "devices/ReadingWriter.h"
#include "devices/Readings.h"

namespace brova::detail {

struct ControllerObject::Open {
  std::shared_ptr<devices::Device> device;
  const devices::ReadingBlock* readings = nullptr;
  std::array<std::atomic<double>, kQuadChannels> perTick;
  std::atomic<bool> closed{false};
};

inline std::string kindName(devices::Kind kind) {
  return std::string(devices::describe(kind).modelName());
}

inline void checkFrequency(int hz) {
  checkRange(hz, kLowestFrequency, kHighestFrequency, "motor frequency");
}

inline Reading toReading(const devices::Snapshot& s) {
  Reading r;
  r.value = s.value;
  if (s.timeNanos != 0) r.readAt = Clock::time_point(std::chrono::nanoseconds(s.timeNanos));
  switch (s.state) {
    case devices::ReadingState::Fresh: r.state = ReadingState::Fresh; break;
    case devices::ReadingState::Missing: r.state = ReadingState::Missing; break;
    case devices::ReadingState::Stale: r.state = ReadingState::Stale; break;
    case devices::ReadingState::NotRead: r.state = ReadingState::NotRead; break;
  }
  return r;
}

}  // namespace brova::detail
