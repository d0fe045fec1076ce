#include "devices/State.h"

#include <algorithm>
#include <chrono>
#include <limits>
#include <utility>

#include "common/Console.h"
#include "devices/Kinds.h"

namespace brova::devices {
namespace {

constexpr int kUnansweredForDisconnected = 3;
constexpr std::string_view kNotAnswering =
    " is not answering; its readings are missing until it does";
constexpr std::string_view kAnswersAgain = " answers again";

void reportAbout(const std::string& name, std::string_view text) noexcept {
  try {
    console::report(name + std::string(text));
  } catch (...) {
    // Out of memory for the line: it is lost.
  }
}

}  // namespace

int64_t readingTimeNow() noexcept {
  return std::chrono::duration_cast<std::chrono::nanoseconds>(
             std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

namespace {

std::string nameOf(Kind kind, can::Address address) {
  std::string name =
      std::string(describe(kind).modelName) + " on device " + std::to_string(address.device);
  if (address.bus != 0) name += " of CAN bus " + std::to_string(address.bus);
  return name;
}

}  // namespace

Device::State::State(Kind kind, can::Address address, ReadingBlock* readings)
    : kind(kind),
      address(address),
      number(address.device),
      name(nameOf(kind, address)),
      model(controller::withState(describe(kind).model(), modelState)),
      own_(readings == nullptr ? std::make_unique<ReadingBlock>() : nullptr),
      block_(readings == nullptr ? *own_ : *readings) {
  modelState.deviceNumber.store(number, std::memory_order_release);
  modelState.bus = address.bus;
  modelState.replies = this;
}

void Device::State::clearReadings() noexcept {
  std::lock_guard lock(writeLock_);
  for (ReadingSlot& slot : block_.slots) {
    slot.write({.value = std::numeric_limits<double>::quiet_NaN(),
                .timeNanos = 0,
                .state = ReadingState::NotRead});
  }
  block_.connected.store(0, std::memory_order_release);
  block_.freshForNanos.store(0, std::memory_order_release);
}

uint64_t Device::State::generation(std::size_t slot) noexcept {
  std::lock_guard lock(writeLock_);
  return generations_[slot];
}

bool Device::State::heardLocked() noexcept {
  unansweredInRow_ = 0;
  block_.connected.store(static_cast<uint64_t>(readingTimeNow()), std::memory_order_release);
  return std::exchange(reportedNotAnswering_, false);
}

bool Device::State::unheardLocked() noexcept {
  if (++unansweredInRow_ < kUnansweredForDisconnected) return false;
  block_.connected.store(0, std::memory_order_release);
  return !std::exchange(reportedNotAnswering_, true);
}

void Device::State::answered(std::size_t slot, uint64_t generation, double value) noexcept {
  bool answersAgain = false;
  {
    std::lock_guard lock(writeLock_);
    if (!writable_) return;
    if (generations_[slot] == generation) {
      block_.slots[slot].write(
          {.value = value, .timeNanos = readingTimeNow(), .state = ReadingState::Fresh});
    }
    answersAgain = heardLocked();
  }
  if (answersAgain) reportAbout(name, kAnswersAgain);
}

void Device::State::unanswered(std::size_t slot, uint64_t generation) noexcept {
  bool notAnswering = false;
  {
    std::lock_guard lock(writeLock_);
    if (!writable_) return;
    if (generations_[slot] == generation) {
      Snapshot last = block_.slots[slot].read();
      last.state = ReadingState::Missing;
      block_.slots[slot].write(last);
    }
    notAnswering = unheardLocked();
  }
  if (notAnswering) reportAbout(name, kNotAnswering);
}

void Device::State::heard() noexcept {
  bool answersAgain = false;
  {
    std::lock_guard lock(writeLock_);
    if (!writable_) return;
    answersAgain = heardLocked();
  }
  if (answersAgain) reportAbout(name, kAnswersAgain);
}

void Device::State::unheard() noexcept {
  bool notAnswering = false;
  {
    std::lock_guard lock(writeLock_);
    if (!writable_) return;
    notAnswering = unheardLocked();
  }
  if (notAnswering) reportAbout(name, kNotAnswering);
}

void Device::State::setFreshFor(std::chrono::nanoseconds span) noexcept {
  block_.freshForNanos.store(static_cast<uint64_t>(std::max<int64_t>(span.count(), 0)),
                             std::memory_order_release);
}

void Device::State::reset(std::size_t slot, double value) noexcept {
  std::lock_guard lock(writeLock_);
  if (!writable_) return;
  ++generations_[slot];
  block_.slots[slot].write(
      {.value = value, .timeNanos = readingTimeNow(), .state = ReadingState::Fresh});
}

void Device::State::stopWriting() noexcept {
  std::lock_guard lock(writeLock_);
  writable_ = false;
}

}  // namespace brova::devices
