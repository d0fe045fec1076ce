#include <gtest/gtest.h>

#include <cstdint>
#include <set>
#include <string>

#include "common/Console.h"

namespace brova::console {
namespace {

// The texts of the lines themselves are checked where a failing call prints them, through the
// entry points (controller/LifecycleTest, QueriesTest, CreateFailureTest, analog/AnalogBoardTest).
// Here: no status code the driver reports falls through to the unknown line or shares another's.
TEST(Console, EachReportedCodeHasALineOfItsOwn) {
  const std::string unknown = "Unknown error found";
  std::set<std::string> lines;
  for (int32_t code :
       {1000, 1001, 1002, 1010, 1011, 1012, 1013, 1014, 1015, 1020, 1021, 2001, 2002, 2010, 2011}) {
    const std::string line = messageFor(code);
    EXPECT_FALSE(line.empty()) << "code " << code;
    EXPECT_NE(line, unknown) << "code " << code;
    EXPECT_TRUE(lines.insert(line).second) << "code " << code << " shares \"" << line << "\"";
  }
  EXPECT_STREQ(messageFor(0), "");  // no error prints an empty line
  for (int32_t code : {-1, 999, 1003, 1016, 1019, 2000, 2012, INT32_MIN, INT32_MAX}) {
    EXPECT_EQ(messageFor(code), unknown) << "code " << code;
  }
}

// A message stays valid and unchanged while other messages are asked for: callers keep the
// pointer (the JNI layer, a line written later).
TEST(Console, AMessageOutlivesLaterLookups) {
  const char* first = messageFor(1002);
  for (int32_t code : {1014, -1, 2011, 0}) messageFor(code);
  EXPECT_STREQ(first, "Device ID out of range [1;63]");
}

TEST(Console, ReportWritesOneLine) {
  ::testing::internal::CaptureStdout();
  reportStatus(1002);
  reportStatus(0);
  report(kGreeting);
  reportWith(messageFor(kMotorCurrentUnavailable), " for motor: ", 2);
  EXPECT_EQ(::testing::internal::GetCapturedStdout(),
            "Device ID out of range [1;63]\n"
            "\n"
            "Brova Initialized\n"
            "Motor current could not be obtained for motor: 2\n");
}

}  // namespace
}  // namespace brova::console
