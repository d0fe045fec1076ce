// The simulated controllers: their answers on the bus byte for byte, the commands and keep-alive
// they obey, their physics, and a closed loop through the library's C functions.
#include <cmath>
#include <functional>
#include <optional>
#include <thread>

#include "BrovaDriver.h"
#include "brovasim/SimController.h"
#include "support/Hal.h"
#include "support/SimTest.h"

namespace brova::testing {
namespace {

using brovasim::Clock;
using brovasim::SimController;
using Model = SimController::Model;
using Options = SimController::Options;

constexpr int kDevice = 5;
constexpr uint32_t id(uint32_t api, int device = kDevice) { return 0x020C0000 | api << 6 | device; }
double seconds(Clock::duration d) { return std::chrono::duration<double>(d).count(); }

void send(uint32_t api, Bytes data = {}, int device = kDevice) {
  hal::send(id(api, device), data.data(), 8);
}

// Replies through the worker, and a keep-alive that does not run out during a test.
std::shared_ptr<SimController> attach(Model model, const std::function<void(Options&)>& change) {
  auto options = SimController::defaults(model);
  options.keepAliveTimeout = std::chrono::hours(1);
  change(options);
  return SimController::attach(model, kDevice, options);
}
void unchanged(Options&) {}

class SimControllerBus : public SimTest {
 protected:
  static Clock::time_point lastSent(uint32_t api) { return sent(id(api)).back().time; }
  static std::optional<Bytes> onBus(uint32_t frameId) {
    const hal::Received r = hal::receive(frameId);
    return r.status == 0 ? std::optional(Bytes(r.data)) : std::nullopt;
  }
  // Sends a request and waits for its reply on API `replyApi`.
  static std::optional<Bytes> ask(uint32_t api, Bytes data, uint32_t replyApi,
                                  int device = kDevice) {
    brovasim::can::removeFrame(id(replyApi, device));
    send(api, data, device);
    for (const auto end = Clock::now() + 2s; Clock::now() < end; std::this_thread::sleep_for(1ms)) {
      if (auto reply = onBus(id(replyApi, device))) return reply;
    }
    return std::nullopt;
  }
};

TEST_F(SimControllerBus, AnswersQueriesInTheLayoutsTheLibraryDecodes) {
  // A motor without a free speed is locked: its current is If * |d| + Is * |d|.
  const auto locked = [](double stall) {
    return [=](Options& o) { o.motor = {0, 0, 1.5, stall}; };
  };
  const auto instant = [](double free) { return [=](Options& o) { o.motor = {free, 0, 1, 30}; }; };
  const auto ambient = [](double celsius) {
    return [=](Options& o) { o.thermal.ambientCelsius = celsius; };
  };
  const auto firmware = [](Options& o) { o.identity.firmware = {7, 8, 9}; };
  constexpr Model kQuad = Model::Quad, kSmall = Model::Small;
  const struct {
    const char* name;
    Model model;
    std::function<void(Options&)> options;
    Bytes speed;
    uint32_t request;
    Bytes payload;
    Bytes expected;
  } rows[] = {
      {"id", kSmall, unchanged, {}, 0, {}, {kDevice}},
      {"frequency of channel 0", kQuad, unchanged, {}, 11, {}, {0x34, 0x12}},
      {"small frequency", kSmall, unchanged, {}, 11, {}, {0x34, 0x12}},
      {"firmware", kQuad, firmware, {}, 2, {}, {7, 8, 9}},
      {"quad hardware", kQuad, unchanged, {}, 4, {}, {1, 3}},
      {"small hardware", kSmall, unchanged, {}, 4, {}, {2, 1}},
      {"quad current", kQuad, locked(40), {2, 50, 1, 0}, 15, {2}, {20, 75}},
      {"quad current at most", kQuad, locked(1000), {2, 50, 1, 0}, 15, {2}, {255, 99}},
      {"channel it lacks", kQuad, locked(40), {4, 50, 1, 0}, 15, {4}, {0, 0}},
      {"small current", kSmall, locked(40), {0, 50, 0, 1}, 15, {}, {21, 0}},
      {"small current > 255 A", kSmall, locked(600), {0, 50, 1, 0}, 15, {}, {255, 46}},
      {"temperature", kQuad, ambient(36.75), {}, 23, {}, {36, 75}},
      {"temperature below 0", kQuad, ambient(-5), {}, 23, {}, {0, 0}},
      {"rpm", kQuad, instant(4000), {3, 50, 0, 1}, 25, {3}, {0xD0, 0x07}},
      {"rpm at most", kQuad, instant(100000), {0, 100, 1, 0}, 25, {}, {0xFF, 0xFF}},
  };
  for (const auto& row : rows) {
    auto controller = attach(row.model, row.options);
    send(21);
    send(10, {1, 9, 9});  // a Small ignores channels other than 0
    send(10, {0, 0x34, 0x12});
    send(14, row.speed);
    EXPECT_EQ(ask(row.request, row.payload, row.request + 1), row.expected) << row.name;
  }
}

TEST_F(SimControllerBus, AnswersTheSerialNumberWithThreeLittleEndianWords) {
  auto small = attach(Model::Small, [](Options& o) {
    o.identity.serial = {0x01234567, 0x89ABCDEF, 0xFEDCBA98};
  });
  // The third reply comes last, so the first two are on the bus once it is.
  EXPECT_EQ(ask(6, {}, 9), (Bytes{0x98, 0xBA, 0xDC, 0xFE}));
  EXPECT_EQ(onBus(id(7)), (Bytes{0x67, 0x45, 0x23, 0x01}));
  EXPECT_EQ(onBus(id(8)), (Bytes{0xEF, 0xCD, 0xAB, 0x89}));
}

TEST_F(SimControllerBus, RepliesNoEarlierThanTheLatencyAfterTheRequest) {
  auto quad = attach(Model::Quad, [](Options& o) { o.replyLatency = 40ms; });
  ASSERT_TRUE(ask(0, {}, 1));
  EXPECT_GE(Clock::now() - lastSent(0), 40ms);
}

// Replies leave in the order they were asked for: once a later reply is on the bus, an earlier
// one that is missing was never sent.
TEST_F(SimControllerBus, PutsNothingOnTheBusForWhatItLacksOrWhenSilentDetachedOrReleased) {
  auto options = SimController::defaults(Model::Quad);
  options.keepAliveTimeout = std::chrono::hours(1);
  auto barrier = SimController::attach(Model::Quad, 9);
  auto small = SimController::attach(Model::Small, kDevice);
  auto silent = SimController::attach(Model::Quad, 1, options);
  auto detached = SimController::attach(Model::Quad, 2);
  auto released = SimController::attach(Model::Quad, 3);
  options.replyLatency = 20ms;
  auto late = SimController::attach(Model::Quad, 4, options);
  send(0, {}, 4);
  late->detach();  // drops the reply it owes
  silent->setAnswering(false);
  detached->detach();
  released.reset();
  for (int device : {1, 2, 3}) send(0, {}, device);
  send(23);  // the Small has no temperature
  send(25);  // nor speed replies
  send(0, {}, 6);
  send(21, {}, 1);
  send(14, {0, 50, 1, 0}, 1);
  ASSERT_TRUE(ask(0, {}, 1, 9));
  std::this_thread::sleep_for(40ms);
  for (uint32_t frame : {id(1, 1), id(1, 2), id(1, 3), id(1, 4), id(24), id(26), id(1, 6)}) {
    EXPECT_FALSE(onBus(frame)) << std::hex << frame;
  }
  EXPECT_EQ(small->answered(), 0);
  EXPECT_EQ(silent->channel(0).appliedDuty, 0.5);  // it still obeys
}

TEST_F(SimControllerBus, OutputDrivesTheClampedCommandWhileActiveAndNotDisabled) {
  const struct {
    uint32_t api;
    Bytes data;
    double commanded;
    double duty;
  } steps[] = {
      {14, {1, 40, 1, 0}, 0.4, 0.0},  // not yet enabled
      {21, {}, 0.4, 0.4},
      {13, {1}, 0.4, 0.0},
      {14, {1, 30, 1, 0}, 0.3, 0.3},
      {20, {}, 0.3, 0.0},
      {21, {}, 0.3, 0.3},
      {14, {1, 50, 0, 1}, -0.5, -0.5},
      {14, {1, 50, 1, 1}, 0.0, 0.0},
      {14, {1, 50, 0, 0}, 0.0, 0.0},
      {14, {1, 255, 1, 0}, 2.55, 1.0},
      {14, {1, 255, 0, 1}, -2.55, -1.0},
  };
  auto quad = attach(Model::Quad, unchanged);
  for (const auto& step : steps) {
    send(step.api, step.data);
    const auto channel = quad->channel(1);
    EXPECT_DOUBLE_EQ(channel.commandedSpeed, step.commanded)
        << step.api << " " << int(step.data[1]);
    EXPECT_DOUBLE_EQ(channel.appliedDuty, step.duty) << step.api << " " << int(step.data[1]);
  }
}

TEST_F(SimControllerBus, SpeedEncoderAndCurrentFollowTheFirstOrderMotor) {
  const struct {
    Model model;
    Bytes command;
    double duty;
  } rows[] = {{Model::Quad, {3, 80, 1, 0}, 0.8}, {Model::Small, {0, 60, 0, 1}, -0.6}};
  for (const auto& row : rows) {
    auto controller = attach(row.model, [](Options& o) { o.motor.timeConstantSeconds = 0.05; });
    const auto m = SimController::defaults(row.model).motor;
    controller->setLoad(row.command[0], 0.25);
    send(21);
    send(14, row.command);
    std::this_thread::sleep_for(60ms);
    const auto c = controller->channel(row.command[0]);
    const double t = seconds(c.at - lastSent(14)), settling = row.duty * m.freeSpeedRpm * 0.75;
    EXPECT_NEAR(c.rpm, settling * -std::expm1(-t / 0.05), 1e-6);
    EXPECT_NEAR(c.encoderCount,
                std::floor(settling * (t + 0.05 * std::expm1(-t / 0.05)) / 60 * 2048), 1);
    EXPECT_NEAR(c.currentAmperes,
                m.freeCurrentAmperes * std::fabs(row.duty) +
                    m.stallCurrentAmperes * std::fabs(row.duty - c.rpm / m.freeSpeedRpm),
                1e-9);
  }
}

TEST_F(SimControllerBus, LockedMotorHeatsTheControllerWhichCoolsToAmbientWhenItStops) {
  for (const Bytes& command : {Bytes{0, 100, 1, 0}, Bytes{0, 100, 0, 1}}) {
    auto quad = attach(Model::Quad, [](Options& o) {
      o.motor = {0, 0, 1, 30};
      o.thermal = {25, 0.01, 0.2};
    });
    send(21);
    send(14, command);
    // Towards 25 + 0.01 * 31 A^2, then back to 25; the value lies between the curve's values at
    // the start and the end of the read.
    const auto expectOn = [&](double from, double to, Clock::time_point start) {
      const auto curve = [=](Clock::time_point at) {
        return to + (from - to) * std::exp(-seconds(at - start) / 0.2);
      };
      const auto before = Clock::now();
      const double temperature = quad->temperature();
      const auto after = Clock::now();
      EXPECT_GE(temperature, std::min(curve(before), curve(after)) - 1e-9);
      EXPECT_LE(temperature, std::max(curve(before), curve(after)) + 1e-9);
      return curve;
    };
    std::this_thread::sleep_for(100ms);
    const auto heating = expectOn(25, 25 + 0.01 * 31 * 31, lastSent(14));
    send(13, {0});
    const double atStop = heating(lastSent(13));
    EXPECT_GT(atStop, 27.0);
    std::this_thread::sleep_for(100ms);
    expectOn(atStop, 25, lastSent(13));
  }
}

TEST_F(SimControllerBus, EncoderReplyIsTheSignedCountAndResetZeroesIt) {
  auto quad = attach(Model::Quad, [](Options& o) { o.motor.timeConstantSeconds = 0; });
  send(21);
  send(14, {1, 100, 0, 1});
  std::this_thread::sleep_for(20ms);
  send(13, {1});
  const auto count = static_cast<uint32_t>(quad->channel(1).encoderCount);
  EXPECT_LT(static_cast<int32_t>(count), -1000);
  EXPECT_EQ(ask(17, {1}, 18), (Bytes{uint8_t(count), uint8_t(count >> 8), uint8_t(count >> 16),
                                     uint8_t(count >> 24)}));
  send(19, {1});
  EXPECT_EQ(ask(17, {1}, 18), Bytes{});
}

// Through the library, as a robot program drives the controller. Replies come at once, so the
// results do not depend on the scheduler waking the controller's worker within the 10 ms pause.
class SimControllerLoop : public SimTest {
 protected:
  static constexpr int kLoop = 9;
  static std::shared_ptr<SimController> attach(Model model, int device = kLoop) {
    auto options = SimController::defaults(model);
    options.replyLatency = std::chrono::microseconds(0);
    return SimController::attach(model, device, options);
  }
};

TEST_F(SimControllerLoop, QuadMotorSpinsUpReversesAndStopsThroughTheLibrary) {
  auto quad = attach(Model::Quad);
  brovasim::can::setSystemActive(true);
  captureConsole();
  const int32_t h = c_BrovaQuad_create(kLoop, 1000, nullptr, 0);
  const auto revolutions = [h] {
    return c_BrovaQuadEncoder_getEncoderDistance(h, 2, 1.0 / 2048, 0, nullptr);
  };
  c_BrovaQuad_setMotorSpeed(h, 2, 0.6);
  std::this_thread::sleep_for(450ms);  // three time constants: within 5% of 3000 rpm
  EXPECT_GE(c_BrovaQuad_getRPM(h, 2), 2700);
  EXPECT_LE(c_BrovaQuad_getRPM(h, 2), 3000);
  EXPECT_GT(revolutions(), 10);
  EXPECT_GT(c_BrovaQuad_getCurrent(h, 2), 0.6);

  c_BrovaQuad_setMotorSpeed(h, 2, -0.6);
  std::this_thread::sleep_for(450ms);
  const double reversed = c_BrovaQuad_getRPM(h, 2);
  EXPECT_GE(reversed, 2000);
  const double before = revolutions();
  std::this_thread::sleep_for(50ms);
  EXPECT_LT(revolutions(), before - 1);

  c_BrovaQuad_disableMotor(h, 2);
  std::this_thread::sleep_for(450ms);
  EXPECT_LT(c_BrovaQuad_getRPM(h, 2), reversed * 0.1);
  EXPECT_EQ(c_BrovaQuad_getCurrent(h, 2), 0.0);
  EXPECT_GT(c_BrovaQuad_getControllerTemp(h), 25.0);
  c_BrovaQuad_destroy(h);
  EXPECT_EQ(console(), "");  // every query was answered in time
}

TEST_F(SimControllerLoop, OutputsFollowTheRobotsKeepAliveAndStop250msAfterTheLast) {
  auto quad = attach(Model::Quad);
  const int32_t h = c_BrovaQuad_create(kLoop, 1000, nullptr, 0);
  c_BrovaQuad_setMotorSpeed(h, 1, 0.5);
  ASSERT_TRUE(waitForFrames(id(20, kLoop), 2));
  EXPECT_EQ(c_BrovaQuad_getRPM(h, 1), 0.0);
  EXPECT_EQ(quad->channel(1).appliedDuty, 0.0);

  brovasim::can::setSystemActive(true);
  for (const auto end = Clock::now() + 2s; !quad->enabled() && Clock::now() < end;) {
    std::this_thread::sleep_for(1ms);
  }
  EXPECT_EQ(quad->channel(1).appliedDuty, 0.5);
  c_BrovaQuad_destroy(h);
  const auto last = sent(id(21, kLoop)).back().time;
  EXPECT_EQ(quad->enabledUntil(), last + 250ms);
  while (quad->enabled() && Clock::now() < last + 2s) std::this_thread::sleep_for(1ms);
  EXPECT_GE(Clock::now() - last, 250ms);
  EXPECT_FALSE(quad->enabled());  // lapsed within the wait
  EXPECT_EQ(quad->channel(1).appliedDuty, 0.0);

  send(21, {}, kLoop);  // the command was kept
  EXPECT_EQ(quad->channel(1).appliedDuty, 0.5);
}

TEST_F(SimControllerLoop, SmallDrivesItsMotorAndReportsWholeAmperes) {
  auto small = attach(Model::Small);
  small->setLoad(0, 0.5);
  brovasim::can::setSystemActive(true);
  const int32_t h = c_BrovaSmall_create(kLoop, 1000, nullptr);
  c_BrovaSmall_setMotorSpeed(h, -0.5);
  std::this_thread::sleep_for(400ms);
  EXPECT_LT(c_BrovaSmallEncoder_getEncoderDistance(h, 1.0, 0, nullptr), -1000);
  // Settling towards 1.5 A * 0.5 + 60 A * 0.25 = 15.75 A from above.
  const double amperes = c_BrovaSmall_getCurrent(h);
  EXPECT_GE(amperes, 16);
  EXPECT_LE(amperes, 17);
  EXPECT_EQ(c_BrovaSmall_getFrequency(h), 1000 & 0xFF);
  c_BrovaSmall_destroy(h);
}

TEST_F(SimControllerLoop, IdentityTextsThroughTheLibrary) {
  auto quad = attach(Model::Quad);
  quad->setIdentity({{2, 0, 11}, 1, 4, {0xBEEF, 0x12345678, 0xA0B0C0D0}});
  auto small = attach(Model::Small, kLoop + 1);
  const int32_t q = c_BrovaQuad_create(kLoop, 1000, nullptr, 0);
  const int32_t s = c_BrovaSmall_create(kLoop + 1, 1000, nullptr);
  EXPECT_EQ(c_BrovaQuad_getFirmwareVersion(q), "Firmware Version: [2.0.11]");
  EXPECT_EQ(c_BrovaQuad_getHardwareVersion(q), "Hardware: Brova Quad, Version: 4");
  EXPECT_EQ(c_BrovaQuad_getSerialNumber(q), "0000BEEF-12345678-A0B0C0D0");
  EXPECT_EQ(c_BrovaQuad_getID(q), kLoop);
  EXPECT_EQ(c_BrovaSmall_getHardwareVersion(s), "Hardware: Brova Small, Version: 1");
  EXPECT_EQ(c_BrovaSmall_getID(s), kLoop + 1);
  c_BrovaQuad_destroy(q);
  c_BrovaSmall_destroy(s);
}

}  // namespace
}  // namespace brova::testing
