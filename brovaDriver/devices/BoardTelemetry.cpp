#include "devices/BoardTelemetry.h"

#include <algorithm>
#include <cstdint>
#include <memory>
#include <mutex>

#include "analog/Board.h"
#include "analog/Transfers.h"
#include "brova/Limits.hpp"
#include "devices/TelemetryThread.h"

namespace brova::devices::boardtelemetry {
namespace {

using std::chrono::nanoseconds;

constexpr auto kConversionTime =
    std::chrono::duration_cast<nanoseconds>(std::chrono::duration<double>(analog::kConversionWait));

// The board on the thread.
struct Rounds final : telemetry::Member {
  AnalogBoard::State* board = nullptr;
  nanoseconds period{};

  enum class Phase { BetweenRounds, Starting, Converting } phase = Phase::BetweenRounds;
  uint8_t channel = 0;
  bool startFailed = false;
  uint64_t generation = 0;
  telemetry::Clock::time_point nextRound{};
  telemetry::Clock::time_point converted{};
  std::unique_lock<std::mutex> boardLock{analog::board().lock, std::defer_lock};

  telemetry::Clock::time_point step() override;
  double framesPerSecondOn(int) const override { return 0.0; }  // I2C, no CAN frames
};

telemetry::Clock::time_point Rounds::step() {
  const analog::Board& b = analog::board();
  for (;;) {
    const auto now = telemetry::Clock::now();
    switch (phase) {
      case Phase::BetweenRounds:
        if (now < nextRound) return nextRound;
        nextRound = now + period;
        channel = 0;
        phase = Phase::Starting;
        break;
      case Phase::Starting:
        // A blocking read holds the board: try again on the next poll.
        if (!boardLock.try_lock()) return now + telemetry::kPoll;
        generation = board->writer.generation(boardSlotOf(channel));
        startFailed = analog::startConversion(b, channel);
        converted = now + kConversionTime;
        phase = Phase::Converting;
        return converted;
      case Phase::Converting: {
        if (now < converted) return converted;
        const analog::Conversion result = analog::readConversion(b);
        boardLock.unlock();
        if (startFailed || result.failed) {
          board->writer.unanswered(boardSlotOf(channel), generation);
        } else {
          board->writer.answered(boardSlotOf(channel), generation, result.raw);
        }
        phase = ++channel < kAnalogInputs ? Phase::Starting : Phase::BetweenRounds;
        break;
      }
    }
  }
}

}  // namespace

void start(AnalogBoard::State& board, nanoseconds period) {
  stop(board);
  auto rounds = std::make_unique<Rounds>();
  rounds->board = &board;
  rounds->period = telemetry::boundedPeriod(period);
  const nanoseconds round = std::max<nanoseconds>(rounds->period, kAnalogInputs * kConversionTime);
  telemetry::join(&board, std::move(rounds));
  board.telemetryRunning.store(true, std::memory_order_release);
  board.writer.confirmedEvery(round);
}

void stop(AnalogBoard::State& board) noexcept {
  if (!telemetry::leave(&board)) return;
  board.telemetryRunning.store(false, std::memory_order_release);
  board.writer.unconfirmed();
}

}  // namespace brova::devices::boardtelemetry
