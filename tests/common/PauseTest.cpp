#include <gtest/gtest.h>
#include <sys/prctl.h>

#include <chrono>

#include "common/Pause.h"

namespace brova {
namespace {

using Clock = std::chrono::steady_clock;

TEST(Pause, SleepsWholeMilliseconds) {
  const struct {
    double seconds;
    std::chrono::milliseconds least;
  } rows[] = {{0.1, std::chrono::milliseconds(100)},
              {0.01, std::chrono::milliseconds(10)},
              {0.001, std::chrono::milliseconds(1)}};
  for (const auto& row : rows) {
    const auto start = Clock::now();
    pause(row.seconds);
    const auto slept = Clock::now() - start;
    EXPECT_GE(slept, row.least) << row.seconds;
    // Generous: the machines are shared; this only catches a pause in the wrong unit (a thousand
    // times too long).
    EXPECT_LT(slept, row.least * 5 + std::chrono::milliseconds(500)) << row.seconds;
  }
}

// The pause sleeps with fine timer slack, and the caller's thread keeps the slack it had.
TEST(Pause, LeavesTheCallersTimerSlackAsItWas) {
  const int original = prctl(PR_GET_TIMERSLACK, 0, 0, 0, 0);
  for (unsigned long slack : {123456UL, 1UL, 50000UL}) {
    ASSERT_EQ(prctl(PR_SET_TIMERSLACK, slack, 0, 0, 0), 0);
    pause(0.001);
    EXPECT_EQ(prctl(PR_GET_TIMERSLACK, 0, 0, 0, 0), static_cast<int>(slack));
  }
  prctl(PR_SET_TIMERSLACK, static_cast<unsigned long>(original), 0, 0, 0);
}

}  // namespace
}  // namespace brova
