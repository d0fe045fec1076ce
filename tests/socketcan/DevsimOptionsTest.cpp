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
  std::string interface = "vcan0";
};

// The buses' interfaces as the environment would name them: bus 2 has none, nor has bus 4 on.
const std::vector<std::string> kBusInterfaces = {"vcan0", "vcan1", "", "vcan3"};

// Named in test listings by its name.
void PrintTo(const Case& c, std::ostream* out) { *out << c.name; }

class DevsimOptions : public ::testing::TestWithParam<Case> {};

TEST_P(DevsimOptions, Parse) {
  const Case& c = GetParam();
  const Parsed parsed = parseOptions(c.arguments, kBusInterfaces);
  EXPECT_FALSE(parsed.help);
  if (!c.error.empty()) {
    EXPECT_NE(parsed.error.find(c.error), std::string::npos) << parsed.error;
    return;
  }
  ASSERT_EQ(parsed.error, "");
  EXPECT_EQ(parsed.options.interface, c.interface);
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
        Case{"BusPicksItsInterface", {"--bus", "3", "--quad", "5"}, "", {5}, {}, 2ms, "vcan3"},
        Case{"BusZero", {"--bus", "0", "--small", "7"}, "", {}, {7}, 2ms, "vcan0"},
        Case{"CanWinsOverBus",
             {"--bus", "1", "--can", "can7", "--quad", "5"},
             "",
             {5},
             {},
             2ms,
             "can7"},
        Case{"BusWithAnEmptyEntry",
             {"--bus", "2", "--quad", "5"},
             "bad --bus 2: BROVA_CAN_INTERFACES"},
        Case{"BusPastTheList", {"--bus", "4", "--quad", "5"}, "bad --bus 4: BROVA_CAN_INTERFACES"},
        Case{"BusAbove24", {"--can", "vcan0", "--bus", "25", "--quad", "5"}, "bad --bus 25"},
        Case{"NegativeBus", {"--bus", "-1", "--quad", "5"}, "bad --bus -1"},
        Case{"BusNotANumber", {"--bus", "1x", "--quad", "5"}, "bad --bus 1x"},
        Case{"InterfaceIsRequired", {"--quad", "5"}, "--can IFACE or --bus N is required"},
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
  EXPECT_TRUE(parseOptions({"--help"}, kBusInterfaces).help);
  EXPECT_TRUE(parseOptions({"--can", "vcan0", "-h"}, kBusInterfaces).help);
}

}  // namespace
}  // namespace devsim
