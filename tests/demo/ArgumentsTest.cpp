// The demo programs' command line: good values are read whole, anything else stops the program
// with status 2 and leaves the settings as they were.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Arguments.h"

namespace demo {
namespace {

struct CommandLine {
  std::string name;
  std::vector<std::string> arguments;
  std::optional<int> exit;  // nothing: the program runs
  RobotSettings settings;
  std::string extra;
};

void PrintTo(const CommandLine& c, std::ostream* out) { *out << c.name; }

class ReadCommandLine : public ::testing::TestWithParam<CommandLine> {};

TEST_P(ReadCommandLine, SettingsAndExit) {
  const CommandLine& c = GetParam();
  std::vector<std::string> words = {"demo"};
  words.insert(words.end(), c.arguments.begin(), c.arguments.end());
  std::vector<char*> argv;
  for (std::string& word : words) argv.push_back(word.data());
  RobotSettings settings;
  std::string extra;
  testing::internal::CaptureStdout();
  testing::internal::CaptureStderr();
  const auto exit = readCommandLine(static_cast<int>(argv.size()), argv.data(), "demo", "usage\n",
                                    settings, {"--capture", [&](const char* v) {
                                                 if (std::string(v) == "-") return false;
                                                 extra = v;
                                                 return true;
                                               }});
  const std::string out = testing::internal::GetCapturedStdout();
  const std::string err = testing::internal::GetCapturedStderr();
  EXPECT_EQ(exit, c.exit);
  EXPECT_EQ(settings.leftDevice, c.settings.leftDevice);
  EXPECT_EQ(settings.rightDevice, c.settings.rightDevice);
  EXPECT_EQ(settings.smallDevice, c.settings.smallDevice);
  EXPECT_DOUBLE_EQ(settings.seconds, c.settings.seconds);
  EXPECT_EQ(extra, c.extra);
  if (exit == 2) {
    EXPECT_EQ(err.rfind("demo: ", 0), 0u) << err;
  }
  if (exit == 0) {
    EXPECT_EQ(out, "usage\n");
  }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ReadCommandLine,
    ::testing::Values(
        CommandLine{"Nothing", {}, std::nullopt, {}, ""},
        CommandLine{
            "Every",
            {"--left", "63", "--right", "2", "--small", "1", "--seconds", "0.5", "--capture", "f"},
            std::nullopt,
            {63, 2, 1, 0.5},
            "f"},
        CommandLine{
            "SidesSwapped", {"--left", "6", "--right", "5"}, std::nullopt, {6, 5, 7, 5.0}, ""},
        CommandLine{"BothSidesOnOneDevice", {"--right", "5"}, 2, {}, ""},
        CommandLine{"IntakeOnTheLeftDevice", {"--small", "5"}, 2, {}, ""},
        CommandLine{"GoodValuesThenABadOne", {"--left", "9", "--seconds", "0"}, 2, {}, ""},
        CommandLine{"Help", {"--help"}, 0, {}, ""},
        CommandLine{"PartNumber", {"--left", "12x"}, 2, {}, ""},
        CommandLine{"DeviceBeyond63", {"--small", "64"}, 2, {}, ""},
        CommandLine{"DeviceZero", {"--right", "0"}, 2, {}, ""},
        CommandLine{"ZeroSeconds", {"--seconds", "0"}, 2, {}, ""},
        CommandLine{"NanSeconds", {"--seconds", "nan"}, 2, {}, ""},
        CommandLine{"OverAnHour", {"--seconds", "3601"}, 2, {}, ""},
        CommandLine{"MissingValue", {"--capture"}, 2, {}, ""},
        CommandLine{"ValueTheProgramRefuses", {"--capture", "-"}, 2, {}, ""},
        CommandLine{"Unknown", {"--can", "vcan0"}, 2, {}, ""}),
    [](const auto& info) { return info.param.name; });

}  // namespace
}  // namespace demo
