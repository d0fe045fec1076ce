// brova-devsim's command line.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Options.h"

namespace devsim {
namespace {

using namespace std::chrono_literals;

struct Case {
  std::string name;
  std::vector<std::string> arguments;
  std::string error;  // a part of the error text; empty when the command line is good
  std::vector<int> quads = {};
  std::vector<int> smalls = {};
  std::chrono::microseconds latency = 2ms;
};

// Named in test listings by its name.
void PrintTo(const Case& c, std::ostream* out) { *out << c.name; }

class DevsimOptions : public ::testing::TestWithParam<Case> {};

TEST_P(DevsimOptions, Parse) {
  const Case& c = GetParam();
  const Parsed parsed = parseOptions(c.arguments);
  EXPECT_FALSE(parsed.help);
  if (!c.error.empty()) {
    EXPECT_NE(parsed.error.find(c.error), std::string::npos) << parsed.error;
    return;
  }
  ASSERT_EQ(parsed.error, "");
  EXPECT_EQ(parsed.options.interface, "vcan0");
  EXPECT_EQ(parsed.options.quads, c.quads);
  EXPECT_EQ(parsed.options.smalls, c.smalls);
  EXPECT_EQ(parsed.options.replyLatency, c.latency);
}

INSTANTIATE_TEST_SUITE_P(
    CommandLines, DevsimOptions,
    ::testing::Values(
        Case{"QuadAndSmall", {"--can", "vcan0", "--quad", "5", "--small", "7"}, "", {5}, {7}},
        Case{"SeveralOfAModel",
             {"--can", "vcan0", "--quad", "5", "--quad", "6", "--small", "63"},
             "",
             {5, 6},
             {63}},
        Case{"ZeroLatencyAnswersAtOnce",
             {"--can", "vcan0", "--small", "1", "--latency-ms", "0"},
             "",
             {},
             {1},
             0ms},
        Case{"FractionalLatency",
             {"--can", "vcan0", "--quad", "5", "--latency-ms", "2.5"},
             "",
             {5},
             {},
             2500us},
        Case{"InterfaceIsRequired", {"--quad", "5"}, "--can IFACE is required"},
        Case{"AControllerIsRequired", {"--can", "vcan0"}, "no controller"},
        Case{"DeviceZero", {"--can", "vcan0", "--quad", "0"}, "bad --quad 0"},
        Case{"DeviceAbove63", {"--can", "vcan0", "--quad", "64"}, "bad --quad 64"},
        Case{"DeviceNotANumber", {"--can", "vcan0", "--small", "x"}, "bad --small x"},
        Case{"SameDeviceTwice",
             {"--can", "vcan0", "--quad", "5", "--small", "5"},
             "device 5 given twice"},
        Case{"NegativeLatency",
             {"--can", "vcan0", "--quad", "5", "--latency-ms", "-1"},
             "bad --latency-ms -1"},
        Case{"LatencyAboveASecond",
             {"--can", "vcan0", "--quad", "5", "--latency-ms", "1001"},
             "bad --latency-ms"},
        Case{"MissingValue", {"--can", "vcan0", "--quad"}, "incomplete option --quad"},
        Case{"UnknownOption", {"--can", "vcan0", "--quad", "5", "--verbose", "1"}, "unknown"}),
    [](const auto& info) { return info.param.name; });

TEST(DevsimHelp, HelpWinsWhereverItStands) {
  EXPECT_TRUE(parseOptions({"--help"}).help);
  EXPECT_TRUE(parseOptions({"--can", "vcan0", "-h"}).help);
}

}  // namespace
}  // namespace devsim
