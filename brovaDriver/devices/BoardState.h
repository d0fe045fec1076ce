// What an open analog board holds: shared by its methods and its telemetry.
#pragma once

#include <atomic>
#include <mutex>

#include "devices/AnalogBoard.h"
#include "devices/ReadingWriter.h"

namespace brova::devices {

struct AnalogBoard::State {
  State(int fullScaleVolts, ReadingBlock* readings)
      : fullScaleVolts(fullScaleVolts), writer(AnalogBoard::name(), readings) {}

  const int fullScaleVolts;
  // Taken by close and the telemetry start and stop, so they never overlap.
  std::mutex lifecycle;
  std::atomic<bool> open{false};
  std::atomic<bool> telemetryRunning{false};
  ReadingWriter writer;
};

}  // namespace brova::devices
