// The robot's enable off the robot: inactive until enabled, and lapsing unless renewed.
#include <gtest/gtest.h>

#include <cctype>
#include <optional>
#include <string>

#include "EnableSwitch.h"

namespace brovasocketcan {
namespace {

using namespace std::chrono_literals;
using Clock = EnableSwitch::Clock;

const Clock::time_point t0 = Clock::now();

TEST(EnableSwitch, DisabledUntilEnabled) {
  const EnableSwitch enable;
  EXPECT_FALSE(enable.enabledAt(t0));
  EXPECT_FALSE(enable.enabledAt());
}

TEST(EnableSwitch, EnableLastsItsDurationAndNoLonger) {
  EnableSwitch enable;
  enable.enableFor(300ms, t0);
  EXPECT_TRUE(enable.enabledAt(t0));
  EXPECT_TRUE(enable.enabledAt(t0 + 299ms));
  EXPECT_FALSE(enable.enabledAt(t0 + 300ms));
  EXPECT_FALSE(enable.enabledAt(t0 + 1h));
}

TEST(EnableSwitch, RenewalMovesTheDeadline) {
  EnableSwitch enable;
  enable.enableFor(300ms, t0);
  enable.enableFor(300ms, t0 + 200ms);
  EXPECT_TRUE(enable.enabledAt(t0 + 450ms));
  EXPECT_FALSE(enable.enabledAt(t0 + 500ms));
}

TEST(EnableSwitch, ShorterEnableReplacesALongerOne) {
  EnableSwitch enable;
  enable.enableFor(1h, t0);
  enable.enableFor(100ms, t0);
  EXPECT_FALSE(enable.enabledAt(t0 + 100ms));
}

TEST(EnableSwitch, ZeroOrNegativeDurationDisables) {
  for (const auto duration : {Clock::duration::zero(), Clock::duration(-1s)}) {
    EnableSwitch enable;
    enable.enableFor(1h, t0);
    enable.enableFor(duration, t0);
    EXPECT_FALSE(enable.enabledAt(t0));
  }
}

TEST(EnableSwitch, DisableEndsTheEnableAtOnce) {
  EnableSwitch enable;
  enable.enableFor(1h);
  enable.disable();
  EXPECT_FALSE(enable.enabledAt());
}

struct SecondsCase {
  std::string text;
  std::optional<std::chrono::milliseconds> expected;
};

// Named in test listings by its text.
void PrintTo(const SecondsCase& c, std::ostream* out) { *out << '"' << c.text << '"'; }

class EnableSeconds : public ::testing::TestWithParam<SecondsCase> {};

TEST_P(EnableSeconds, Parse) {
  EXPECT_EQ(parseEnableSeconds(GetParam().text), GetParam().expected)
      << "text: \"" << GetParam().text << "\"";
}

INSTANTIATE_TEST_SUITE_P(
    Texts, EnableSeconds,
    ::testing::Values(SecondsCase{"5", 5000ms}, SecondsCase{"0.25", 250ms},
                      SecondsCase{"86400", 86400000ms}, SecondsCase{"0.001", 1ms},
                      SecondsCase{"", std::nullopt}, SecondsCase{"0", std::nullopt},
                      SecondsCase{"-1", std::nullopt}, SecondsCase{"abc", std::nullopt},
                      SecondsCase{"5s", std::nullopt}, SecondsCase{"nan", std::nullopt},
                      SecondsCase{"inf", std::nullopt}, SecondsCase{"86401", std::nullopt},
                      SecondsCase{"0.0001", std::nullopt}),
    [](const auto& info) {
      // A test name of letters and digits only: "0.25" reads as "0_25", "" as "empty".
      std::string name = std::to_string(info.index) + "_" + info.param.text;
      for (char& c : name) {
        if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
      }
      return name;
    });

}  // namespace
}  // namespace brovasocketcan
