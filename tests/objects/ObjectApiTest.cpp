// The C++ object API: lifecycle, argument checks, the same frames as the C entry points, and
// telemetry read from a thread of the object's own.
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <thread>

#include "BrovaDriver.hpp"
#include "brovasim/SimAnalogBoard.h"
#include "brovasim/SimController.h"
#include "support/SimTest.h"

namespace brova::testing {
namespace {

// Threads of this process with the given name, or all of them.
int threadsNamed(const std::string& name = {}) {
  int count = 0;
  for (const auto& task : std::filesystem::directory_iterator("/proc/self/task")) {
    std::ifstream comm(task.path() / "comm");
    std::string taskName;
    std::getline(comm, taskName);
    count += name.empty() || taskName == name;
  }
  return count;
}

class ObjectApi : public SimTest {
 protected:
  void SetUp() override {
    SimTest::SetUp();
    captureConsole();  // create's greeting and missing-reply lines stay out of the test log
  }
};

TEST_F(ObjectApi, OpenCloseReopenAndOnlyOneOfEachModel) {
  {
    BrovaQuad quad(5);
    EXPECT_EQ(quad.getDeviceNumber(), 5);
    try {
      BrovaQuad second(7);
      FAIL() << "a second BrovaQuad opened";
    } catch (const std::logic_error& e) {
      EXPECT_STREQ(e.what(), "BrovaQuad on device 5 is already open; close it first");
    }
    BrovaSmall small(7);  // one of each model is fine
    quad.close();
    quad.close();  // twice is fine
    EXPECT_FALSE(quad.isOpen());
    EXPECT_THROW(quad.set(0, 0.5), std::logic_error);
    EXPECT_THROW(quad.getCurrent(0), std::logic_error);
    BrovaQuad reopened(6);
    EXPECT_EQ(reopened.getDeviceNumber(), 6);
  }
  BrovaQuad afterScope(5);  // the destructors closed everything
  EXPECT_EQ(brovasim::can::openHandles().size(), 1u);
}

TEST_F(ObjectApi, MovingKeepsOneOpenController) {
  BrovaQuad first(5);
  BrovaQuad moved(std::move(first));
  EXPECT_FALSE(first.isOpen());
  EXPECT_TRUE(moved.isOpen());
  BrovaQuad target(std::move(moved));
  target = BrovaQuad(std::move(target));
  EXPECT_TRUE(target.isOpen());
  EXPECT_EQ(brovasim::can::openHandles().size(), 1u);
}

TEST_F(ObjectApi, ArgumentsOutsideTheirRangeAreRefused) {
  BrovaQuad quad(5);
  BrovaSmall small(7);
  const struct {
    const char* name;
    std::function<void()> call;
  } rows[] = {
      {"device 0", [] { BrovaSmall bad(0); }},
      {"device 64", [] { BrovaQuad bad(64); }},
      {"frequency -1", [] { BrovaQuad bad(9, -1); }},
      {"frequency 20001", [] { BrovaSmall bad(9, 20001); }},
      {"motor -1", [&] { quad.set(-1, 0.5); }},
      {"motor 4", [&] { quad.disable(4); }},
      {"motor 260", [&] { quad.getCurrent(260); }},
      {"NaN speed", [&] { quad.set(1, std::nan("")); }},
      {"NaN small speed", [&] { small.set(std::nan("")); }},
      {"frequency 70000", [&] { quad.setFrequency(0, 70000); }},
      {"encoder 4", [&] { quad.resetEncoder(4); }},
      {"infinite per tick", [&] { small.setDistancePerTick(1.0 / 0.0); }},
      {"zero period", [&] { quad.startTelemetry(std::chrono::milliseconds(0)); }},
  };
  brovasim::can::clearSentFrames();
  for (const auto& row : rows) EXPECT_THROW(row.call(), std::invalid_argument) << row.name;
  // Refused before anything reached the bus (keep-alive frames aside).
  for (const auto& f : sent()) EXPECT_EQ(f.id & ~0x7Fu, 0x020C0500u) << std::hex << f.id;
  EXPECT_EQ(quad.getDeviceNumber(), 5);  // the refused opens left the open one alone
}

TEST_F(ObjectApi, OpeningConfiguresEveryChannel) {
  BrovaQuad quad(5, 1000);
  const auto frames = sent(0x020C0285);
  ASSERT_EQ(frames.size(), 4u);
  for (uint8_t motor = 0; motor < 4; ++motor) {
    EXPECT_EQ(frames[motor].data, (Bytes{motor, 0xE8, 0x03, 0, 0, 0, 0, 0}));
  }
}

// Each object call puts on the bus exactly what the matching C entry point puts there.
TEST_F(ObjectApi, CallsSendWhatTheEntryPointsSend) {
  BrovaQuad quad(5);
  BrovaSmall small(7);
  const struct {
    const char* name;
    std::function<void()> object;
    std::function<void()> raw;
  } rows[] = {
      {"set", [&] { quad.set(2, -0.75); }, [] { c_BrovaQuad_setMotorSpeed(0, 2, -0.75); }},
      {"disable", [&] { quad.disable(3); }, [] { c_BrovaQuad_disableMotor(0, 3); }},
      {"frequency", [&] { quad.setFrequency(1, 20000); },
       [] { c_BrovaQuad_configureMotor(0, 20000, 1); }},
      {"reset", [&] { quad.resetEncoder(1); }, [] { c_BrovaQuadEncoder_resetEncoder(0, 1); }},
      {"current", [&] { quad.getCurrentBlocking(2); }, [] { c_BrovaQuad_getCurrent(0, 2); }},
      {"rpm", [&] { quad.getRPMBlocking(1); }, [] { c_BrovaQuad_getRPM(0, 1); }},
      {"encoder", [&] { quad.getEncoderDistanceBlocking(3); },
       [] { c_BrovaQuadEncoder_getEncoderDistance(0, 3, 1.0, 0, nullptr); }},
      {"small set", [&] { small.set(1.0); }, [] { c_BrovaSmall_setMotorSpeed(0, 1.0); }},
      {"small disable", [&] { small.disable(); }, [] { c_BrovaSmall_disableMotor(0); }},
  };
  auto framesOf = [](const std::function<void()>& call) {
    brovasim::can::clearSentFrames();
    call();
    auto frames = sent();
    std::erase_if(frames, [](const auto& f) { return (f.id & ~0x7Fu) == 0x020C0500u; });
    std::vector<std::pair<uint32_t, Bytes>> result;
    for (const auto& f : frames) result.emplace_back(f.id, f.data);
    return result;
  };
  for (const auto& row : rows) {
    const auto object = framesOf(row.object);
    EXPECT_FALSE(object.empty()) << row.name;
    EXPECT_EQ(object, framesOf(row.raw)) << row.name;
  }
}

TEST_F(ObjectApi, CachedTelemetryFollowsTheMotorAndGettersNeverWait) {
  auto sim = brovasim::SimController::attach(brovasim::SimController::Model::Quad, 5);
  BrovaQuad quad(5);
  EXPECT_FALSE(quad.getRPM(1).present());
  EXPECT_TRUE(std::isnan(quad.getRPM(1).value));
  quad.setDistancePerTick(1, 0.5);
  brovasim::can::setSystemActive(true);
  quad.set(1, 0.6);
  quad.startTelemetry(std::chrono::milliseconds(20));
  std::this_thread::sleep_for(std::chrono::milliseconds(800));
  const Reading rpm = quad.getRPM(1);
  ASSERT_TRUE(rpm.present());
  EXPECT_GT(rpm.value, 2000.0);  // 0.6 of 5000 rpm, most of the way there after 0.8 s
  EXPECT_LT(rpm.age(), std::chrono::milliseconds(500));
  EXPECT_GT(quad.getEncoderDistance(1).value, 0.5 * 2048 * 5);  // over five revolutions
  EXPECT_GT(quad.getCurrent(1).value, 0.0);
  EXPECT_GE(quad.getTemperature().value, 25.0);
  EXPECT_EQ(quad.getRPM(0).value, 0.0);  // read, and at rest
}

TEST_F(ObjectApi, ClosingStopsTheTelemetryThreadAndLeavesNoThread) {
  auto board = brovasim::attachAnalogBoard();
  board->setInput(2, 1.024);
  // Sanitizer runtimes start threads of their own with a program's first thread: start one, then
  // count from here.
  std::thread([] {}).join();
  const int before = threadsNamed();
  {
    BrovaQuad quad(5);
    BrovaSmall small(7);
    Ferux ferux(5);
    EXPECT_TRUE(ferux.isConnected());
    quad.startTelemetry(std::chrono::milliseconds(10));
    small.startTelemetry(std::chrono::milliseconds(10));
    ferux.startTelemetry(std::chrono::milliseconds(10));
    EXPECT_EQ(threadsNamed("brova-keepalive"), 2);
    EXPECT_EQ(threadsNamed(), before + 2 + 3);  // and three telemetry threads
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    EXPECT_FLOAT_EQ(ferux.getVoltage(2).value, 2.5f);
    EXPECT_DOUBLE_EQ(ferux.getVoltageBlocking(2), 2.5);
    EXPECT_THROW(ferux.getVoltage(4), std::invalid_argument);
    EXPECT_THROW(Ferux another(5), std::logic_error);
    quad.stopTelemetry();
    EXPECT_FALSE(quad.telemetryRunning());
  }
  EXPECT_EQ(threadsNamed("brova-keepalive"), 0);
  EXPECT_EQ(threadsNamed(), before);
}

}  // namespace
}  // namespace brova::testing
