// spin against a simulated controller: the motor turns while the robot is enabled, and every
// way the run ends leaves the motor disabled and the controller closed.
#include <future>

#include "BrovactlTest.h"
#include "StopRequest.h"
#include "can/Identifiers.h"

namespace brova::testing {
namespace {

class Spin : public BrovactlTest {
 protected:
  // The last frame of `id` was sent after the last set-speed frame of the device.
  static bool sentAfterLastSpeed(uint32_t id, int device, uint8_t motor) {
    const auto speeds = sent(can::kSetMotorSpeed + device);
    const auto last = sent(id + device);
    return !speeds.empty() && !last.empty() && last.back().data[0] == motor &&
           last.back().time >= speeds.back().time;
  }

  // Keep-alive frames of `device` sent in the next 300 ms (three periods).
  static size_t keepAlivesSoon(int device) {
    const size_t before =
        sent(can::kKeepAliveActive + device).size() + sent(can::kKeepAliveInactive + device).size();
    std::this_thread::sleep_for(300ms);
    return sent(can::kKeepAliveActive + device).size() +
           sent(can::kKeepAliveInactive + device).size() - before;
  }
};

TEST_F(Spin, QuadMotorTurnsWhileEnabledAndIsDisabledAtTheEnd) {
  auto quad = attachQuad(5);
  double fastest = 0;
  auto spin = std::async(std::launch::async, [] {
    return run(
        {"spin", "--quad", "5", "--motor", "1", "--speed", "0.5", "--seconds", "1.2", "--enable"});
  });
  while (spin.wait_for(10ms) != std::future_status::ready) {
    fastest = std::max(fastest, quad->channel(1).rpm);
  }
  const Outcome result = spin.get();
  EXPECT_EQ(result.status, 0) << result.err;
  // Half speed of a 5000 rpm motor with a 0.15 s time constant: well above 1000 rpm within 1.2 s.
  EXPECT_GT(fastest, 1000.0);
  EXPECT_EQ(quad->channel(0).rpm, 0.0);  // the other channels stay still
  EXPECT_EQ(
      result.out.find("spinning BrovaQuad device 5 motor 1 at +0.50 for 1.2 s, robot enabled\n"),
      0u)
      << result.out;
  EXPECT_CONTAINS(result.out, "  t=1.0 s  current ");
  EXPECT_CONTAINS(result.out, "done: motor disabled, controller closed, robot disabled\n");

  EXPECT_TRUE(sentAfterLastSpeed(can::kDisableMotor, 5, 1));
  EXPECT_FALSE(quad->channel(1).outputOn);
  EXPECT_TRUE(brovasim::can::openHandles().empty());
  EXPECT_EQ(keepAlivesSoon(5), 0u);
}

TEST_F(Spin, WithoutEnableTheMotorStaysStillButIsCommanded) {
  auto small = attachSmall(7);
  const Outcome result = run({"spin", "--small", "7", "--speed", "-0.3", "--seconds", "0.3"});
  EXPECT_EQ(result.status, 0) << result.err;
  EXPECT_EQ(small->channel(0).commandedSpeed, -0.3);
  EXPECT_EQ(small->channel(0).rpm, 0.0);
  EXPECT_TRUE(sentAfterLastSpeed(can::kDisableMotor, 7, 0));
  EXPECT_CONTAINS(result.out, "done: motor disabled, controller closed\n");
  EXPECT_TRUE(brovasim::can::openHandles().empty());
}

TEST_F(Spin, StopRequestEndsTheRunEarlyAndSafely) {
  auto quad = attachQuad(5);
  const auto started = std::chrono::steady_clock::now();
  auto spin = std::async(std::launch::async, [] {
    return run(
        {"spin", "--quad", "5", "--motor", "2", "--speed", "0.8", "--seconds", "60", "--enable"});
  });
  ASSERT_TRUE(waitForFrames(can::kSetMotorSpeed + 5, 1, 5s));
  brovactl::requestStop();
  ASSERT_EQ(spin.wait_for(10s), std::future_status::ready);
  const Outcome result = spin.get();
  EXPECT_LT(std::chrono::steady_clock::now() - started, 20s);
  EXPECT_EQ(result.status, 0) << result.err;
  EXPECT_CONTAINS(result.out, "interrupted: motor disabled, controller closed, robot disabled\n");
  EXPECT_TRUE(sentAfterLastSpeed(can::kDisableMotor, 5, 2));
  EXPECT_FALSE(quad->channel(2).outputOn);
  EXPECT_TRUE(brovasim::can::openHandles().empty());
  EXPECT_EQ(keepAlivesSoon(5), 0u);
}

TEST_F(Spin, SilentDeviceIsNotOpened) {
  const Outcome result =
      run({"spin", "--quad", "5", "--motor", "1", "--speed", "0.5", "--seconds", "1"});
  EXPECT_EQ(result.status, 1);
  EXPECT_EQ(result.err, "brovactl spin: device 5 does not answer\n");
  EXPECT_TRUE(brovasim::can::initializations().empty());
}

}  // namespace
}  // namespace brova::testing
