#include <gtest/gtest.h>

#include "common/Console.h"

namespace brova::console {
namespace {

TEST(Console, EveryStatusCodeHasItsMessage) {
  const struct {
    int32_t code;
    const char* message;
  } rows[] = {
      {0, ""},
      {1000, "Brova could not be initialized"},
      {1001, "Motor frequency out of range [0;20000]"},
      {1002, "Device ID out of range [1;63]"},
      {1010, "Device ID could not be obtained"},
      {1011, "Motor frequency could not be obtained"},
      {1012, "Firmware version could not be obtained"},
      {1013, "Hardware version could not be obtained"},
      {1014, "Motor current could not be obtained"},
      {1015, "Controller temp could not be obtained"},
      {1020, "Encoder distance could not be obtained"},
      {1021, "Encoder RPM could not be obtained"},
      {2001, "I2C device not connected"},
      {2002, "I2C device is connected"},
      {2010, "Read count bytes out of range [1;)"},
      {2011, "Read buffer is null"},
      {1003, "Unknown error found"},
      {1016, "Unknown error found"},
      {1019, "Unknown error found"},
      {-1, "Unknown error found"},
      {2012, "Unknown error found"},
  };
  for (const auto& row : rows) {
    EXPECT_STREQ(messageFor(row.code), row.message) << "code " << row.code;
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
