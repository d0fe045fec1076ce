// The analog board's telemetry: a member of the telemetry thread (TelemetryThread.h) that
// converts the four inputs in turn, a round at most once per period. For each input it takes the
// board's lock without blocking (a blocking read holding it: it tries again a poll later),
// writes the configuration word that starts the conversion, leaves the thread to the others for
// the conversion time, then reads the result, lets the lock go and records the reading. While
// the board is on the thread its readings stay fresh for three rounds (a round: the period, or
// the four conversions when longer).
#pragma once

#include <chrono>

#include "devices/BoardState.h"

namespace brova::devices::boardtelemetry {

// Puts `board` on the thread at `period`, replacing what it had. Throws std::system_error when
// the thread cannot start, std::bad_alloc when memory runs out; the board is not on it then.
void start(AnalogBoard::State& board, std::chrono::nanoseconds period);

// Takes `board` off the thread; when this returns, the thread no longer touches it. A
// conversion under way is abandoned: its reading is left as it was.
void stop(AnalogBoard::State& board) noexcept;

}  // namespace brova::devices::boardtelemetry
