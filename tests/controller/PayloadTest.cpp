// Command payloads and reply decodings, byte for byte, without a bus.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "controller/Commands.h"
#include "controller/Decoding.h"

namespace brova::controller {
namespace {

using can::Payload;
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

TEST(MotorSpeedPayload, MagnitudeIsTruncatedHundredthsSaturatingAt255) {
  const struct {
    double speed;
    uint8_t magnitude, forward, reverse;
  } rows[] = {
      {0.5, 50, 1, 0},           {-0.75, 75, 0, 1}, {0.0, 0, 1, 1},     {-0.0, 0, 1, 1},
      {0.004, 0, 1, 0},          {-0.004, 0, 0, 1}, {0.29, 28, 1, 0},   {0.57, 56, 1, 0},
      {1.0, 100, 1, 0},          {-1.0, 100, 0, 1}, {1.5, 150, 1, 0},   {-2.0, 200, 0, 1},
      {2.54, 254, 1, 0},         {2.56, 255, 1, 0}, {3.0, 255, 1, 0},   {-3.0, 255, 0, 1},
      {1e300, 255, 1, 0},        {kInf, 255, 1, 0}, {-kInf, 255, 0, 1}, {kNaN, 0, 0, 0},
      {2147483648.0, 255, 1, 0},
  };
  for (const auto& row : rows) {
    EXPECT_EQ(motorSpeedPayload(3, row.speed),
              (Payload{3, row.magnitude, row.forward, row.reverse, 0, 0, 0, 0}))
        << "speed " << row.speed;
  }
}

TEST(ConfigureMotorPayload, FrequencyIsLittleEndianLow16Bits) {
  const struct {
    int32_t frequency;
    uint8_t low, high;
  } rows[] = {
      {1000, 0xE8, 0x03}, {20000, 0x20, 0x4E}, {70000, 0x70, 0x11}, {-1, 0xFF, 0xFF}, {0, 0, 0}};
  for (const auto& row : rows) {
    EXPECT_EQ(configureMotorPayload(2, row.frequency),
              (Payload{2, row.low, row.high, 0, 0, 0, 0, 0}))
        << row.frequency;
  }
}

TEST(Decoding, Numbers) {
  EXPECT_EQ(firstByte({5, 0, 0, 0, 0, 0, 0, 0}), 5);
  EXPECT_EQ(firstByte({0x10, 0x27, 9, 9, 9, 9, 9, 9}), 16);  // byte 1 is not combined
  EXPECT_EQ(firstByte({0xFF}), 255);
  EXPECT_DOUBLE_EQ(wholeAndFraction({2, 0x32}, 100.0), 2.5);
  EXPECT_DOUBLE_EQ(wholeAndFraction({2, 0x32}, 1.0), 52.0);
  EXPECT_DOUBLE_EQ(wholeAndFraction({1, 0xFF}, 100.0), 3.55);
  EXPECT_DOUBLE_EQ(wholeAndFraction({0x1E, 5, 7, 7, 7, 7, 7, 7}, 100.0), 30.05);
  EXPECT_EQ(unsignedWord16({0xE8, 3}), 1000.0);
  EXPECT_EQ(unsignedWord16({0xFF, 0xFF, 0xFF}), 65535.0);
  EXPECT_EQ(word32({0x78, 0x56, 0x34, 0x12, 0xFF, 0xFF, 0xFF, 0xFF}), 0x12345678u);
  EXPECT_EQ(signedCount({0x10, 0x27, 0, 0, 1, 2, 3, 4}), 10000);
  EXPECT_EQ(signedCount({0xFF, 0xFF, 0xFF, 0xFF}), -1);
  EXPECT_EQ(signedCount({1, 2, 3, 4}), 67305985);
  EXPECT_EQ(signedCount({0, 0, 0, 0x80}), std::numeric_limits<int32_t>::min());
}

TEST(Decoding, FirmwareVersionText) {
  EXPECT_EQ(firmwareVersionText({1, 2, 0x0A, 0x63, 1, 1, 1, 1}), "Firmware Version: [1.2.10]");
  EXPECT_EQ(firmwareVersionText({0xFF, 0, 7}), "Firmware Version: [255.0.7]");
  EXPECT_EQ(firmwareVersionText({}), "Firmware Version: [0.0.0]");
}

TEST(Decoding, HardwareTextByModel) {
  const struct {
    Payload reply;
    const char* quad;
    const char* small;
  } rows[] = {
      {{1, 3}, "Hardware: Brova Quad, Version: 3", "Hardware: Brova Quad, Version: 3"},
      {{2, 0x0C}, "Hardware: Brova Small, Version: 12", "Hardware: Brova Small, Version: 12"},
      {{1, 0xFF}, "Hardware: Brova Quad, Version: 255", "Hardware: Brova Quad, Version: 255"},
      {{3, 5}, "No Hardware Found!", "Hardware: Brova Small, Version: 5"},
      {{0, 0}, "No Hardware Found!", "Hardware: Brova Small, Version: 0"},
  };
  for (const auto& row : rows) {
    EXPECT_EQ(hardwareText(row.reply, UnknownHardware::NoHardwareFound), row.quad);
    EXPECT_EQ(hardwareText(row.reply, UnknownHardware::ReadAsSmall), row.small);
  }
}

TEST(Decoding, SerialNumberTextIsThreeUpperCaseHexWords) {
  EXPECT_EQ(serialNumberText(0x12345678, 0x00ABCDEF, 1), "12345678-00ABCDEF-00000001");
  EXPECT_EQ(serialNumberText(0xFFFFFFFF, 0xABC, 0), "FFFFFFFF-00000ABC-00000000");
  EXPECT_EQ(serialNumberText(0, 0, 0).size(), 26u);
}

}  // namespace
}  // namespace brova::controller
