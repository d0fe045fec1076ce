// The writes to one device's readings (Readings.h), serialised, and what they make of the
// device's answers: whether it is connected, and the console lines when it stops answering and
// when it answers again. A controller and the analog board keep theirs alike.
#pragma once

#include <array>
#include <chrono>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>

#include "devices/Readings.h"

namespace brova::devices {

class ReadingWriter {
 public:
  // Writes to `readings`, or to a block of its own when null (`readings` must outlive it);
  // `name` opens its console lines ("BrovaQuad on device 5").
  ReadingWriter(std::string name, ReadingBlock* readings);

  const ReadingBlock& readings() const noexcept { return block_; }

  // A reading is written by a reply only when no reset came since its request was sent: the
  // request carries the slot's generation of that moment.
  uint64_t generation(std::size_t slot) noexcept;
  // A reply: the reading is fresh now, and the device is connected.
  void answered(std::size_t slot, uint64_t generation, double value) noexcept;
  // A request unanswered: the reading is missing, keeping its last value; after three in a row
  // the device is not connected.
  void unanswered(std::size_t slot, uint64_t generation) noexcept;
  // A reply or a silence of a request that fills no reading (a blocking query).
  void heard() noexcept;
  void unheard() noexcept;
  // Sets a reading to `value`, fresh now; a request already under way no longer overwrites it.
  void reset(std::size_t slot, double value) noexcept;
  // The telemetry confirms the readings every `round`: each stays fresh for three rounds.
  void confirmedEvery(std::chrono::nanoseconds round) noexcept;
  // The telemetry stopped: no reading is fresh any more.
  void unconfirmed() noexcept;
  // Every reading not read, the device not connected: the memory handed in may hold anything.
  void clear() noexcept;
  // No write reaches the readings after this returns.
  void stop() noexcept;

 private:
  // Under lock_; each returns whether the console is to be told.
  bool heardLocked() noexcept;
  bool unheardLocked() noexcept;
  void report(bool answersAgain, bool notAnswering) const noexcept;

  const std::string name_;
  std::unique_ptr<ReadingBlock> own_;
  ReadingBlock& block_;
  std::mutex lock_;
  bool writable_ = true;
  std::array<uint64_t, kReadingSlots> generations_{};
  // Requests unanswered in a row, and whether the console was told the device is not answering.
  int unansweredInRow_ = 0;
  bool reportedNotAnswering_ = false;
};

// Now on the clock the readings carry: steady_clock (CLOCK_MONOTONIC) nanoseconds.
int64_t readingTimeNow() noexcept;

}  // namespace brova::devices
