// Extreme, NaN and null arguments through every export: each call returns a defined result and
// nothing crashes (the sanitizer builds check the "nothing undefined" part).
#include <cmath>
#include <limits>

#include "BrovaDriver.h"
#include "brovasim/SimAnalogBoard.h"
#include "support/SimTest.h"

namespace brova::testing {
namespace {

using Limits = std::numeric_limits<double>;
constexpr int32_t kHandles[] = {0, -1, std::numeric_limits<int32_t>::min(),
                                std::numeric_limits<int32_t>::max()};
constexpr uint8_t kChannels[] = {0, 3, 4, 127, 255};

class HostileCaller : public SimTest {
 protected:
  void TearDown() override {
    for (int32_t handle : opened_) {
      c_BrovaQuad_destroy(handle);
      c_BrovaSmall_destroy(handle);
    }
    SimTest::TearDown();
  }
  std::vector<int32_t> opened_;
};

TEST_F(HostileCaller, CreateWithExtremeArgumentsAndNoFlag) {
  captureConsole();
  for (int16_t device : {std::numeric_limits<int16_t>::min(), int16_t{-1}, int16_t{0}, int16_t{64},
                         std::numeric_limits<int16_t>::max()}) {
    EXPECT_EQ(c_BrovaQuad_create(device, 1000, nullptr, 255), 0);
    EXPECT_EQ(c_BrovaSmall_create(device, std::numeric_limits<int16_t>::min(), nullptr), 0);
  }
  opened_.push_back(c_BrovaQuad_create(63, 0, nullptr, 255));
  opened_.push_back(c_BrovaSmall_create(1, 20000, nullptr));
  console();
  EXPECT_NE(opened_[0], 0);
  EXPECT_NE(opened_[1], 0);
}

TEST_F(HostileCaller, SpeedsOfEveryKindSendADefinedFrame) {
  opened_.push_back(c_BrovaQuad_create(5, 1000, nullptr, 0));
  const struct {
    double speed;
    uint8_t magnitude, forward, reverse;
  } rows[] = {
      {Limits::quiet_NaN(), 0, 0, 0},
      {-Limits::quiet_NaN(), 0, 0, 0},
      {Limits::infinity(), 255, 1, 0},
      {-Limits::infinity(), 255, 0, 1},
      {Limits::max(), 255, 1, 0},
      {Limits::lowest(), 255, 0, 1},
      {Limits::denorm_min(), 0, 1, 0},
      {-Limits::denorm_min(), 0, 0, 1},
      {-0.0, 0, 1, 1},
  };
  for (const auto& row : rows) {
    for (int32_t handle : kHandles) {
      brovasim::can::clearSentFrames();
      c_BrovaQuad_setMotorSpeed(handle, 255, row.speed);
      c_BrovaSmall_setMotorSpeed(handle, row.speed);
      const auto frames = sent();
      ASSERT_GE(frames.size(), 2u);
      for (const auto& f : frames) {
        if ((f.id & ~0x3Fu) != 0x020C0380) continue;
        EXPECT_EQ(f.data[1], row.magnitude) << row.speed;
        EXPECT_EQ(f.data[2], row.forward) << row.speed;
        EXPECT_EQ(f.data[3], row.reverse) << row.speed;
      }
    }
  }
}

TEST_F(HostileCaller, EveryOtherExportWithExtremesAndNulls) {
  auto board = brovasim::attachAnalogBoard();
  board->setInput(0, 1.0);
  captureConsole();
  opened_.push_back(c_BrovaQuad_create(5, 1000, nullptr, 0));
  for (int32_t handle : kHandles) {
    for (uint8_t channel : kChannels) {
      c_BrovaQuad_configureMotor(handle, std::numeric_limits<int32_t>::min(), channel);
      c_BrovaQuad_configureMotor(handle, std::numeric_limits<int32_t>::max(), channel);
      c_BrovaQuad_disableMotor(handle, channel);
      c_BrovaQuad_setCurrentLimit(handle, channel);
      EXPECT_EQ(c_BrovaQuad_getLimitSwitch(handle, channel, true), 0.0);
      EXPECT_EQ(c_BrovaQuad_getFaults(handle, channel), 0);
      c_BrovaQuad_clearFaults(handle, channel);
      EXPECT_FALSE(c_BrovaQuad_enableSoftLimit(handle, channel));
      c_BrovaQuadEncoder_resetEncoder(handle, channel);
      EXPECT_EQ(c_BrovaQuadEncoder_getRaw(handle, channel), 0.0);
      EXPECT_EQ(c_BrovaQuadEncoder_getSpeed(handle, channel), 0.0);
      EXPECT_FALSE(c_BrovaQuadEncoder_getDirection(handle, channel));
      c_BrovaQuadEncoder_setReverseDirection(handle, channel);
      EXPECT_EQ(c_getRawValue(channel), 0);  // the port is not open yet: transfers fail
    }
    c_BrovaQuadEncoder_setEncoder(handle, Limits::quiet_NaN(), nullptr);
    c_BrovaSmallEncoder_setEncoder(handle, Limits::infinity(), nullptr);
    c_BrovaSmall_configureMotor(handle, std::numeric_limits<int32_t>::min());
    c_BrovaSmall_disableMotor(handle);
    c_BrovaSmallEncoder_resetEncoder(handle);
    c_BrovaSmall_destroy(handle);
    c_BrovaQuad_destroy(handle);
  }
  // Queries with no reply on the bus and hostile numbers: zeros, and their lines.
  for (double perTick : {Limits::quiet_NaN(), Limits::infinity(), Limits::max(), -0.0}) {
    brovasim::can::putFrame(0x020C0485, {0xFF, 0xFF, 0xFF, 0x7F});
    const double distance = c_BrovaQuadEncoder_getEncoderDistance(0, 255, perTick, -1, nullptr);
    EXPECT_TRUE(std::isnan(perTick) ? std::isnan(distance) : distance == 2147483647.0 * perTick)
        << perTick;
  }
  EXPECT_EQ(c_BrovaQuad_getCurrent(kHandles[2], 255), 0.0);
  EXPECT_EQ(c_BrovaQuad_getRPM(kHandles[3], 255), 0.0);
  EXPECT_EQ(c_BrovaQuad_getHardwareVersion(kHandles[2]), "No Hardware Found!");

  for (int32_t fullScale :
       {std::numeric_limits<int32_t>::min(), -5, 0, std::numeric_limits<int32_t>::max()}) {
    ASSERT_TRUE(c_initializeI2C(fullScale));
    const float volts = c_getVoltage(0);
    EXPECT_TRUE(std::isfinite(volts)) << fullScale;
    EXPECT_EQ(volts, 1000.0f * (static_cast<float>(fullScale) / 2048.0f)) << fullScale;
    EXPECT_EQ(c_getVoltage(255), 0.0f);
  }
  c_closeI2C();
  c_closeI2C();
  console();
}

}  // namespace
}  // namespace brova::testing
