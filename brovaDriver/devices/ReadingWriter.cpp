#include "devices/ReadingWriter.h"

#include <algorithm>
#include <limits>
#include <utility>

#include "common/Console.h"

namespace brova::devices {
namespace {

constexpr int kUnansweredForDisconnected = 3;
constexpr std::string_view kNotAnswering =
    " is not answering; its readings are missing until it does";
constexpr std::string_view kAnswersAgain = " answers again";

}  // namespace

int64_t readingTimeNow() noexcept {
  return std::chrono::duration_cast<std::chrono::nanoseconds>(
             std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

ReadingWriter::ReadingWriter(std::string name, ReadingBlock* readings)
    : name_(std::move(name)),
      own_(readings == nullptr ? std::make_unique<ReadingBlock>() : nullptr),
      block_(readings == nullptr ? *own_ : *readings) {}

void ReadingWriter::report(bool answersAgain, bool notAnswering) const noexcept {
  if (!answersAgain && !notAnswering) return;
  try {
    console::report(name_ + std::string(answersAgain ? kAnswersAgain : kNotAnswering));
  } catch (...) {
    // Out of memory for the line: it is lost.
  }
}

void ReadingWriter::clear() noexcept {
  std::lock_guard lock(lock_);
  for (ReadingSlot& slot : block_.slots) {
    slot.write({.value = std::numeric_limits<double>::quiet_NaN(),
                .timeNanos = 0,
                .state = ReadingState::NotRead});
  }
  block_.connected.store(0, std::memory_order_release);
  block_.freshForNanos.store(0, std::memory_order_release);
}

uint64_t ReadingWriter::generation(std::size_t slot) noexcept {
  std::lock_guard lock(lock_);
  return generations_[slot];
}

bool ReadingWriter::heardLocked() noexcept {
  unansweredInRow_ = 0;
  block_.connected.store(static_cast<uint64_t>(readingTimeNow()), std::memory_order_release);
  return std::exchange(reportedNotAnswering_, false);
}

bool ReadingWriter::unheardLocked() noexcept {
  if (++unansweredInRow_ < kUnansweredForDisconnected) return false;
  block_.connected.store(0, std::memory_order_release);
  return !std::exchange(reportedNotAnswering_, true);
}

void ReadingWriter::answered(std::size_t slot, uint64_t generation, double value) noexcept {
  bool answersAgain = false;
  {
    std::lock_guard lock(lock_);
    if (!writable_) return;
    if (generations_[slot] == generation) {
      block_.slots[slot].write(
          {.value = value, .timeNanos = readingTimeNow(), .state = ReadingState::Fresh});
    }
    answersAgain = heardLocked();
  }
  report(answersAgain, false);
}

void ReadingWriter::unanswered(std::size_t slot, uint64_t generation) noexcept {
  bool notAnswering = false;
  {
    std::lock_guard lock(lock_);
    if (!writable_) return;
    if (generations_[slot] == generation) {
      Snapshot last = block_.slots[slot].read();
      last.state = ReadingState::Missing;
      block_.slots[slot].write(last);
    }
    notAnswering = unheardLocked();
  }
  report(false, notAnswering);
}

void ReadingWriter::heard() noexcept {
  bool answersAgain = false;
  {
    std::lock_guard lock(lock_);
    if (!writable_) return;
    answersAgain = heardLocked();
  }
  report(answersAgain, false);
}

void ReadingWriter::unheard() noexcept {
  bool notAnswering = false;
  {
    std::lock_guard lock(lock_);
    if (!writable_) return;
    notAnswering = unheardLocked();
  }
  report(false, notAnswering);
}

void ReadingWriter::reset(std::size_t slot, double value) noexcept {
  std::lock_guard lock(lock_);
  if (!writable_) return;
  ++generations_[slot];
  block_.slots[slot].write(
      {.value = value, .timeNanos = readingTimeNow(), .state = ReadingState::Fresh});
}

void ReadingWriter::confirmedEvery(std::chrono::nanoseconds round) noexcept {
  constexpr int kFreshRounds = 3;
  block_.freshForNanos.store(
      static_cast<uint64_t>(std::max<int64_t>(kFreshRounds * round.count(), 0)),
      std::memory_order_release);
}

void ReadingWriter::unconfirmed() noexcept {
  block_.freshForNanos.store(0, std::memory_order_release);
}

void ReadingWriter::stop() noexcept {
  std::lock_guard lock(lock_);
  writable_ = false;
}

}  // namespace brova::devices
