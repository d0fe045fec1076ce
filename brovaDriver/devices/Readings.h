// The cached readings of one open controller: written by the telemetry thread (and by an
// encoder reset), read by any thread without a lock. Each reading is a sequence lock over four
// 64-bit words, so the memory can be shared with another language's runtime as plain words.
//
// A reading is fresh only while the telemetry keeps confirming it: a reading stored fresh reads
// as stale once the telemetry stopped or once it is older than the block's `freshForNanos`
// (three rounds of the telemetry, see Telemetry.h). A device is connected while it answered
// (telemetry or a blocking query) within the last second, or within `freshForNanos` when that is
// longer, and fewer than three requests in a row went unanswered since. Readers in both
// languages apply these rules to the words as stored (`seen`, `connectedAt` below).
#pragma once

#include <algorithm>
#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>

namespace brova::devices {

// What a controller's telemetry can read; a set of them is a bit mask of these.
enum Quantity : uint32_t {
  kCurrent = 1u << 0,
  kRpm = 1u << 1,
  kEncoderCount = 1u << 2,
  kTemperature = 1u << 3,
};
inline constexpr uint32_t kEveryQuantity = kCurrent | kRpm | kEncoderCount | kTemperature;

// A reading's state: the first three as stored, Stale as a reader sees a fresh one that the
// telemetry no longer confirms.
enum class ReadingState : uint64_t {
  NotRead = 0,  // no request answered yet
  Fresh = 1,    // the last request was answered: value and time are its reply's
  Missing = 2,  // the last request went unanswered: value and time are the last answer's
  Stale = 3,    // the last request was answered, but the telemetry stopped since, or is late
};

// Where a quantity of a channel is kept: current, RPM and encoder count per channel 0..3, then
// the temperature. A single-channel controller uses channel 0 and no RPM or temperature.
inline constexpr std::size_t kChannelSlots = 4;
inline constexpr std::size_t kReadingSlots = 3 * kChannelSlots + 1;
constexpr std::size_t slotOf(Quantity quantity, unsigned channel) {
  switch (quantity) {
    case kCurrent: return channel;
    case kRpm: return kChannelSlots + channel;
    case kEncoderCount: return 2 * kChannelSlots + channel;
    default: return 3 * kChannelSlots;
  }
}

// One reading as a reader sees it.
struct Snapshot {
  double value = 0.0;     // NaN while NotRead
  int64_t timeNanos = 0;  // CLOCK_MONOTONIC (steady_clock) nanoseconds; 0 while NotRead
  ReadingState state = ReadingState::NotRead;
};

// The words of one reading: sequence (odd while being written), value bits, time, state.
struct ReadingSlot {
  std::atomic<uint64_t> sequence{0};
  std::atomic<uint64_t> valueBits{0x7FF8000000000000ull};  // quiet NaN
  std::atomic<uint64_t> timeNanos{0};
  std::atomic<uint64_t> state{0};

  // Never blocks; retries while a write is under way.
  Snapshot read() const noexcept;
  // One writer at a time: the caller serialises writes to a slot.
  void write(const Snapshot& snapshot) noexcept;
};

// Every reading of a device, when it last answered (0 while it is not connected), and for how long
// a reading stays fresh (0 while the telemetry is stopped), laid out as 64-bit words.
struct ReadingBlock {
  std::array<ReadingSlot, kReadingSlots> slots;
  std::atomic<uint64_t> connected{0};
  std::atomic<uint64_t> freshForNanos{0};
};

inline constexpr std::size_t kReadingBlockBytes = sizeof(ReadingBlock);
static_assert(sizeof(ReadingSlot) == 32 && kReadingBlockBytes == kReadingSlots * 32 + 16);

// How long after its last answer a device without telemetry (or with a fast one) still counts as
// connected.
inline constexpr int64_t kConnectedForNanos = 1'000'000'000;

// `slot` of `block` as a reader sees it at `nowNanos`.
inline Snapshot seen(const ReadingBlock& block, std::size_t slot, int64_t nowNanos) noexcept {
  Snapshot s = block.slots[slot].read();
  if (s.state == ReadingState::Fresh) {
    const auto freshFor = static_cast<int64_t>(block.freshForNanos.load(std::memory_order_acquire));
    if (freshFor == 0 || nowNanos - s.timeNanos > freshFor) s.state = ReadingState::Stale;
  }
  return s;
}

// Whether the device of `block` is connected at `nowNanos`.
inline bool connectedAt(const ReadingBlock& block, int64_t nowNanos) noexcept {
  const auto heard = static_cast<int64_t>(block.connected.load(std::memory_order_acquire));
  if (heard == 0) return false;
  const auto freshFor = static_cast<int64_t>(block.freshForNanos.load(std::memory_order_acquire));
  return nowNanos - heard <= std::max(kConnectedForNanos, freshFor);
}
static_assert(std::atomic<uint64_t>::is_always_lock_free);

inline Snapshot ReadingSlot::read() const noexcept {
  Snapshot s;
  uint64_t before = 0;
  uint64_t after = 0;
  uint64_t bits = 0;
  do {
    // Acquire loads rather than fences (which the thread sanitizer does not model): a word
    // written after the sequence went odd makes that odd sequence visible to the last load.
    before = sequence.load(std::memory_order_acquire);
    bits = valueBits.load(std::memory_order_acquire);
    s.timeNanos = static_cast<int64_t>(timeNanos.load(std::memory_order_acquire));
    s.state = static_cast<ReadingState>(state.load(std::memory_order_acquire));
    after = sequence.load(std::memory_order_relaxed);
  } while ((before & 1u) != 0 || before != after);
  s.value = __builtin_bit_cast(double, bits);
  return s;
}

inline void ReadingSlot::write(const Snapshot& s) noexcept {
  const uint64_t at = sequence.load(std::memory_order_relaxed);
  sequence.store(at + 1, std::memory_order_relaxed);
  valueBits.store(__builtin_bit_cast(uint64_t, s.value), std::memory_order_release);
  timeNanos.store(static_cast<uint64_t>(s.timeNanos), std::memory_order_release);
  state.store(static_cast<uint64_t>(s.state), std::memory_order_release);
  sequence.store(at + 2, std::memory_order_release);
}

}  // namespace brova::devices
