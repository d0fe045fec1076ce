// The clock the device models keep time by. Every model function that needs the time takes it
// as an argument: a model reads no clock of its own, so a caller may drive it by real time (the
// simulated platform does) or by any other time it keeps.
#pragma once

#include <chrono>

namespace brovamodels {

using Clock = std::chrono::steady_clock;

}  // namespace brovamodels
