// What an open device holds: its model over a state of its own, its CAN handle, its readings
// and whether it answers. Shared by the device's methods, the keep-alive and telemetry threads.
#pragma once

#include <array>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>

#include "can/Link.h"
#include "common/Simulation.h"
#include "controller/Description.h"
#include "controller/Replies.h"
#include "devices/Device.h"
#include "devices/ReadingWriter.h"

namespace brova::devices {

// Its reply book keeps the telemetry's and the blocking queries' replies apart, and both feed
// whether the device is connected.
struct Device::State final : controller::ReplyBook {
  State(Kind kind, can::Address address, ReadingBlock* readings);

  const Kind kind;
  const can::Address address;
  const int number;        // address.device
  const std::string name;  // "BrovaQuad on device 5", "... of CAN bus 2" when not on bus 0
  controller::ModelState modelState;
  const controller::Model model;
  int32_t handle = 0;
  // Its place among the HAL's simulated devices, while open.
  simulation::SimulatedDevice simulated;

  // Taken by open, close and the telemetry start and stop, so they never overlap.
  std::mutex lifecycle;
  std::atomic<bool> open{false};
  std::atomic<bool> telemetryRunning{false};
  std::atomic<int64_t> lastRoundNanos{0};

  // Its readings and what its answers make of them.
  ReadingWriter writer;

  const ReadingBlock& readings() const noexcept { return writer.readings(); }
  // A blocking query's reply or silence.
  void heard() noexcept override { writer.heard(); }
  void unheard() noexcept override { writer.unheard(); }
};

}  // namespace brova::devices
