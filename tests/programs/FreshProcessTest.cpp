// Behaviour of a process in which no controller was ever opened. Kept in its own program so
// that no other test can have opened one first.
#include <gtest/gtest.h>

#include "BrovaDriver.h"
#include "brovasim/SimAnalogBoard.h"
#include "brovasim/SimCan.h"
#include "support/Hal.h"

namespace {

TEST(BeforeAnyCreate, FramesGoToDeviceNumberZero) {
  brovasim::can::reset();
  brovasim::can::setRecording(true);
  c_BrovaQuad_disableMotor(77, 1);
  c_BrovaSmall_setMotorSpeed(0, 0.5);
  c_BrovaQuadEncoder_resetEncoder(0, 2);
  const auto frames = brovasim::can::sentFrames();
  ASSERT_EQ(frames.size(), 3u);
  EXPECT_EQ(frames[0].id, 0x020C0340u);
  EXPECT_EQ(frames[1].id, 0x020C0380u);
  EXPECT_EQ(frames[2].id, 0x020C04C0u);
}

}  // namespace

namespace {

TEST(BeforeInitializeI2C, ReadingUsesTheLoadConfigurationAndReadsZeroVolts) {
  brovasim::i2c::reset();
  brovasim::i2c::setRecording(true);
  auto board = brovasim::attachAnalogBoard();
  board->setInput(0, 1.0);
  int32_t status = 0;
  HAL_InitializeI2C(brova::testing::hal::kI2CPort1,
                    &status);  // opened by someone else: the port works
  EXPECT_EQ(c_getVoltage(0), 0.0f);
  const auto transfers = brovasim::i2c::transfers();
  ASSERT_EQ(transfers.size(), 3u);
  EXPECT_EQ(transfers[0].bytes, (std::vector<uint8_t>{0x01, 0xC0, 0x00}));
  // Gain bits 0 select the ±6.144 V range: 1 V is 333 counts.
  EXPECT_EQ(c_getRawValue(0), 333);
}

}  // namespace
