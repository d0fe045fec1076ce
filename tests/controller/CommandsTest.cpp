// Motor and encoder commands through the exported functions: one frame each, byte for byte.
#include <functional>
#include <thread>

#include "BrovaDriver.h"
#include "support/SimTest.h"

namespace brova::testing {
namespace {

class Commands : public SimTest {
 protected:
  void SetUp() override {
    SimTest::SetUp();
    quad_ = c_BrovaQuad_create(5, 1000, nullptr, 0);
    small_ = c_BrovaSmall_create(7, 1000, nullptr);
    // Only the frames of the commands under test remain; keep-alive frames are filtered out.
    brovasim::can::clearSentFrames();
  }
  void TearDown() override {
    c_BrovaQuad_destroy(quad_);
    c_BrovaSmall_destroy(small_);
    SimTest::TearDown();
  }

  static std::vector<brovasim::SentFrame> commandFrames() {
    auto frames = sent();
    std::erase_if(frames, [](const auto& f) { return (f.id & ~0x7Fu) == 0x020C0500; });
    return frames;
  }

  int32_t quad_ = 0;
  int32_t small_ = 0;
};

TEST_F(Commands, EachCommandSendsOneFrame) {
  const struct {
    const char* name;
    std::function<void(int32_t quad, int32_t small)> command;
    uint32_t id;
    Bytes bytes;
  } rows[] = {
      {"quad speed 0.5 motor 1",
       [](int32_t q, int32_t) { c_BrovaQuad_setMotorSpeed(q, 1, 0.5); },
       0x020C0385,
       {0x01, 0x32, 0x01, 0, 0, 0, 0, 0}},
      {"quad speed -0.75 motor 2",
       [](int32_t q, int32_t) { c_BrovaQuad_setMotorSpeed(q, 2, -0.75); },
       0x020C0385,
       {0x02, 0x4B, 0x00, 0x01, 0, 0, 0, 0}},
      {"quad speed 3.0 saturates",
       [](int32_t q, int32_t) { c_BrovaQuad_setMotorSpeed(q, 0, 3.0); },
       0x020C0385,
       {0x00, 0xFF, 0x01, 0x00, 0, 0, 0, 0}},
      {"small speed 1.0",
       [](int32_t, int32_t s) { c_BrovaSmall_setMotorSpeed(s, 1.0); },
       0x020C0387,
       {0x00, 0x64, 0x01, 0, 0, 0, 0, 0}},
      {"small speed -0.0",
       [](int32_t, int32_t s) { c_BrovaSmall_setMotorSpeed(s, -0.0); },
       0x020C0387,
       {0x00, 0x00, 0x01, 0x01, 0, 0, 0, 0}},
      {"quad disable 3",
       [](int32_t q, int32_t) { c_BrovaQuad_disableMotor(q, 3); },
       0x020C0345,
       {0x03, 0, 0, 0, 0, 0, 0, 0}},
      {"small disable", [](int32_t, int32_t s) { c_BrovaSmall_disableMotor(s); }, 0x020C0347, {}},
      {"quad configure 20000 motor 0",
       [](int32_t q, int32_t) { c_BrovaQuad_configureMotor(q, 20000, 0); },
       0x020C0285,
       {0x00, 0x20, 0x4E, 0, 0, 0, 0, 0}},
      {"quad configure 70000 unchecked",
       [](int32_t q, int32_t) { c_BrovaQuad_configureMotor(q, 70000, 1); },
       0x020C0285,
       {0x01, 0x70, 0x11, 0, 0, 0, 0, 0}},
      {"small configure -1 unchecked",
       [](int32_t, int32_t s) { c_BrovaSmall_configureMotor(s, -1); },
       0x020C0287,
       {0x00, 0xFF, 0xFF, 0, 0, 0, 0, 0}},
      {"quad reset encoder 1",
       [](int32_t q, int32_t) { c_BrovaQuadEncoder_resetEncoder(q, 1); },
       0x020C04C5,
       {0x01, 0, 0, 0, 0, 0, 0, 0}},
      {"small reset encoder",
       [](int32_t, int32_t s) { c_BrovaSmallEncoder_resetEncoder(s); },
       0x020C04C7,
       {}},
  };
  for (const auto& row : rows) {
    brovasim::can::clearSentFrames();
    captureConsole();
    row.command(quad_, small_);
    EXPECT_EQ(console(), "") << row.name;
    const auto frames = commandFrames();
    ASSERT_EQ(frames.size(), 1u) << row.name;
    EXPECT_EQ(frames[0].id, row.id) << row.name;
    EXPECT_EQ(frames[0].data, row.bytes) << row.name;
    EXPECT_EQ(frames[0].size, 8) << row.name;
  }
  EXPECT_TRUE(brovasim::can::receiveCalls().empty());
}

TEST_F(Commands, OperationsWithoutBehaviourSendNothingAndReturnNeutralValues) {
  double slot = 0.0;
  captureConsole();
  c_BrovaQuad_setCurrentLimit(quad_, 1);
  EXPECT_EQ(c_BrovaQuad_getLimitSwitch(quad_, 1, true), 0.0);
  EXPECT_EQ(c_BrovaQuad_getFaults(quad_, 1), 0);
  c_BrovaQuad_clearFaults(quad_, 1);
  EXPECT_FALSE(c_BrovaQuad_enableSoftLimit(quad_, 1));
  EXPECT_EQ(c_BrovaQuadEncoder_getRaw(quad_, 1), 0.0);
  EXPECT_EQ(c_BrovaQuadEncoder_getSpeed(quad_, 1), 0.0);
  EXPECT_FALSE(c_BrovaQuadEncoder_getDirection(quad_, 1));
  c_BrovaQuadEncoder_setReverseDirection(quad_, 1);
  c_BrovaQuadEncoder_setEncoder(quad_, 2.5, &slot);
  EXPECT_EQ(slot, 2.5);
  c_BrovaSmall_setCurrentLimit(small_);
  EXPECT_EQ(c_BrovaSmall_getLimitSwitch(small_, false), 0.0);
  EXPECT_EQ(c_BrovaSmall_getFaults(small_), 0);
  c_BrovaSmall_clearFaults(small_);
  EXPECT_FALSE(c_BrovaSmall_enableSoftLimit(small_));
  EXPECT_EQ(c_BrovaSmallEncoder_getRaw(small_), 0.0);
  EXPECT_EQ(c_BrovaSmallEncoder_getRPM(small_), 0.0);
  EXPECT_EQ(c_BrovaSmallEncoder_getSpeed(small_), 0.0);
  EXPECT_FALSE(c_BrovaSmallEncoder_getDirection(small_));
  c_BrovaSmallEncoder_setReverseDirection(small_);
  c_BrovaSmallEncoder_setEncoder(small_, -7.25, &slot);
  EXPECT_EQ(slot, -7.25);
  // A null result slot is not written.
  c_BrovaSmallEncoder_setEncoder(small_, 1.0, nullptr);
  c_BrovaQuadEncoder_setEncoder(quad_, 1.0, nullptr);
  EXPECT_EQ(console(), "");
  EXPECT_TRUE(commandFrames().empty());
  EXPECT_TRUE(brovasim::can::receiveCalls().empty());
}

TEST_F(Commands, HandleDoesNotChooseTheDevice) {
  for (int32_t handle : {quad_, 0, -1, 123456}) c_BrovaQuad_setMotorSpeed(handle, 2, 0.25);
  for (int32_t handle : {small_, 0, 99}) c_BrovaSmall_disableMotor(handle);
  const auto frames = commandFrames();
  ASSERT_EQ(frames.size(), 7u);
  for (size_t i = 1; i < 4; ++i) {
    EXPECT_EQ(frames[i].id, frames[0].id);
    EXPECT_EQ(frames[i].data, frames[0].data);
  }
  for (size_t i = 4; i < 7; ++i) EXPECT_EQ(frames[i].id, 0x020C0347u);
}

TEST_F(Commands, FollowTheMostRecentCreateAndOutliveDestroy) {
  const int32_t second = c_BrovaQuad_create(9, 1000, nullptr, 0);
  c_BrovaQuad_create(0, 1000, nullptr, 0);  // rejected: the slot keeps 9
  c_BrovaQuad_destroy(second);
  brovasim::can::clearSentFrames();
  c_BrovaQuad_disableMotor(quad_, 1);
  const auto frames = commandFrames();
  ASSERT_EQ(frames.size(), 1u);
  EXPECT_EQ(frames[0].id, 0x020C0349u);
}

TEST_F(Commands, CommandsFromManyThreadsAllReachTheBus) {
  std::vector<std::thread> threads;
  for (uint8_t motor = 0; motor < 4; ++motor) {
    threads.emplace_back([this, motor] {
      for (int i = 0; i < 50; ++i) c_BrovaQuad_setMotorSpeed(quad_, motor, i / 100.0);
    });
  }
  threads.emplace_back([this] {
    for (int i = 0; i < 50; ++i) c_BrovaSmall_setMotorSpeed(small_, -i / 100.0);
  });
  for (auto& t : threads) t.join();
  EXPECT_EQ(commandFrames().size(), 250u);
}

}  // namespace
}  // namespace brova::testing
