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
#include "controller/Description.h"
#include "controller/Replies.h"
#include "devices/Device.h"

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

  // Taken by open, close and the telemetry start and stop, so they never overlap.
  std::mutex lifecycle;
  std::atomic<bool> open{false};
  std::atomic<bool> telemetryRunning{false};
  std::atomic<int64_t> lastRoundNanos{0};

  const ReadingBlock& readings() const noexcept { return block_; }

  // The writes to the readings, serialised. A reading is written by a reply only when no reset
  // came since its request was sent: the request carries the slot's generation of that moment.
  uint64_t generation(std::size_t slot) noexcept;
  // A reply: the reading is fresh now, and the device is connected.
  void answered(std::size_t slot, uint64_t generation, double value) noexcept;
  // A request unanswered: the reading is missing, keeping its last value; after three in a row
  // the device is not connected.
  void unanswered(std::size_t slot, uint64_t generation) noexcept;
  // A reply or a silence of a request that fills no reading (a blocking query).
  void heard() noexcept override;
  void unheard() noexcept override;
  // How long a reading stays fresh; zero: the telemetry stopped, no reading is fresh.
  void setFreshFor(std::chrono::nanoseconds span) noexcept;
  void reset(std::size_t slot, double value) noexcept;
  // Every reading not read, the device not connected: the memory handed in may hold anything.
  void clearReadings() noexcept;
  // No write reaches the readings after this returns.
  void stopWriting() noexcept;

 private:
  std::unique_ptr<ReadingBlock> own_;
  ReadingBlock& block_;
  std::mutex writeLock_;
  bool writable_ = true;
  // Under writeLock_; each returns whether the console is to be told.
  bool heardLocked() noexcept;
  bool unheardLocked() noexcept;
  std::array<uint64_t, kReadingSlots> generations_{};
  // Requests unanswered in a row, and whether the console was told the device is not answering.
  int unansweredInRow_ = 0;
  bool reportedNotAnswering_ = false;
};

// Now on the clock the readings carry: steady_clock (CLOCK_MONOTONIC) nanoseconds.
int64_t readingTimeNow() noexcept;

}  // namespace brova::devices
