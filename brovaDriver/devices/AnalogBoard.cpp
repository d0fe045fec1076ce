#include "devices/AnalogBoard.h"

#include <mutex>
#include <stdexcept>

#include "analog/Board.h"
#include "analog/Ferux.h"
#include "brova/Limits.hpp"
#include "devices/BoardState.h"
#include "devices/BoardTelemetry.h"

namespace brova::devices {
namespace {

// Whether a board object is open: the process has one board. Never destroyed.
struct Claim {
  std::mutex lock;
  bool taken = false;
};

Claim& claim() {
  static Claim* const instance = new Claim;
  return *instance;
}

void take() {
  Claim& c = claim();
  std::lock_guard lock(c.lock);
  if (c.taken) throw std::logic_error(AnalogBoard::name() + " is already open; close it first");
  c.taken = true;
}

void release() noexcept {
  Claim& c = claim();
  std::lock_guard lock(c.lock);
  c.taken = false;
}

}  // namespace

const std::string& AnalogBoard::name() noexcept {
  static const std::string* const board = new std::string("Ferux analog board");
  return *board;
}

float boardVolts(double raw, int fullScaleVolts) noexcept {
  return analog::voltsFromRaw(static_cast<int32_t>(raw), static_cast<float>(fullScaleVolts));
}

std::shared_ptr<AnalogBoard> AnalogBoard::open(int fullScaleVolts, ReadingBlock* readings) {
  if (fullScaleVolts < 0 || fullScaleVolts > kLargestFullScaleVolts) {
    throw std::invalid_argument("full-scale voltage " + std::to_string(fullScaleVolts) +
                                " V is outside 0.." + std::to_string(kLargestFullScaleVolts) +
                                " V");
  }
  std::shared_ptr<AnalogBoard> board(
      new AnalogBoard(std::make_unique<State>(fullScaleVolts, readings)));
  State& s = *board->state_;
  take();
  s.writer.clear();
  if (analog::initialize(fullScaleVolts)) {
    s.writer.heard();
  } else {
    s.writer.unheard();
  }
  s.open.store(true, std::memory_order_release);
  return board;
}

AnalogBoard::AnalogBoard(std::unique_ptr<State> state) : state_(std::move(state)) {}

AnalogBoard::~AnalogBoard() { close(); }

void AnalogBoard::close() noexcept {
  State& s = *state_;
  try {
    std::lock_guard lifecycle(s.lifecycle);
    if (!s.open.exchange(false)) return;
    boardtelemetry::stop(s);
    {
      // A blocking read under way finishes first.
      std::lock_guard board(analog::board().lock);
      s.writer.stop();
    }
    analog::close();
    release();
  } catch (...) {
    // Only a broken mutex throws here; the board stays as far as it got.
  }
}

bool AnalogBoard::isOpen() const noexcept { return state_->open.load(std::memory_order_acquire); }
int AnalogBoard::fullScaleVolts() const noexcept { return state_->fullScaleVolts; }

int32_t AnalogBoard::rawBlocking(int channel) {
  if (channel < 0 || channel >= kAnalogInputs) {
    throw std::invalid_argument("analog channel " + std::to_string(channel) + " is outside 0.." +
                                std::to_string(kAnalogInputs - 1));
  }
  if (!isOpen()) throw std::logic_error(name() + " is closed");
  const analog::Conversion c = analog::conversion(static_cast<uint8_t>(channel));
  if (c.failed) {
    state_->writer.unheard();
    return 0;
  }
  state_->writer.heard();
  return c.raw;
}

float AnalogBoard::voltageBlocking(int channel) {
  return boardVolts(rawBlocking(channel), state_->fullScaleVolts);
}

void AnalogBoard::startTelemetry(std::chrono::nanoseconds period) {
  std::lock_guard lifecycle(state_->lifecycle);
  if (!isOpen()) return;
  boardtelemetry::start(*state_, period);
}

void AnalogBoard::stopTelemetry() {
  std::lock_guard lifecycle(state_->lifecycle);
  boardtelemetry::stop(*state_);
}

bool AnalogBoard::telemetryRunning() const noexcept {
  return state_->telemetryRunning.load(std::memory_order_acquire);
}

const ReadingBlock& AnalogBoard::readings() const noexcept { return state_->writer.readings(); }

bool AnalogBoard::isConnected() const noexcept {
  return connectedAt(state_->writer.readings(), readingTimeNow());
}

}  // namespace brova::devices
