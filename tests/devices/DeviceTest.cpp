// Open devices side by side: each addresses its own device number only, closes on its own, and
// tells the console once when it stops and starts answering; one keep-alive and one telemetry
// thread serve them all.
#include <algorithm>
#include <map>
#include <stdexcept>
#include <string>

#include "controller/Commands.h"
#include "controller/Queries.h"
#include "devices/DevicesTest.h"
#include "support/Threads.h"

namespace brova::testing {
namespace {

// Wire facts in literal numbers, kept apart from the library's own table on purpose.
constexpr uint32_t kSetMotorSpeed = 0x020C0380;
constexpr uint32_t kKeepAliveInactive = 0x020C0500;
constexpr std::array<uint32_t, 2> kSmallOnlyAbsent{0x020C05C0, 0x020C0640};  // temp, RPM requests
constexpr std::array<uint32_t, 4> kTelemetryRequests{0x020C03C0, 0x020C0440, 0x020C05C0,
                                                     0x020C0640};
constexpr auto kPeriod = std::chrono::milliseconds(50);

uint32_t deviceOf(uint32_t id) { return id & 0x3F; }
uint32_t baseOf(uint32_t id) { return id & ~0x3Fu; }

struct Opened {
  Kind kind;
  int number;
  std::shared_ptr<brovasim::SimController> sim;
  std::shared_ptr<Device> device;
};

class Devices : public SimTest {};

TEST_F(Devices, FiveDevicesEachAddressedAloneCloseOneByOneAndReportAnsweringOnce) {
  std::vector<Opened> opened;
  for (const auto& [kind, number] :
       {std::pair{Kind::Quad, 3}, std::pair{Kind::Quad, 4}, std::pair{Kind::Quad, 5},
        std::pair{Kind::Small, 7}, std::pair{Kind::Small, 8}}) {
    opened.push_back(
        {kind, number, answeringAtOnce(kind, number), Device::open(kind, number, 1000)});
  }

  // A command through each device's model reaches that device's controller only.
  for (std::size_t i = 0; i < opened.size(); ++i) {
    controller::setMotorSpeed(opened[i].device->model(), 0, 0.1 * static_cast<double>(i + 1));
  }
  for (std::size_t i = 0; i < opened.size(); ++i) {
    EXPECT_DOUBLE_EQ(opened[i].sim->channel(0).commandedSpeed, 0.1 * static_cast<double>(i + 1))
        << opened[i].device->name();
    EXPECT_EQ(sent(kSetMotorSpeed + static_cast<uint32_t>(opened[i].number)).size(), 1u);
  }
  // A blocking query through a device's model is answered by its own controller.
  EXPECT_EQ(controller::getDeviceId(opened[1].device->model()), 4);

  captureConsole();
  for (const Opened& o : opened) o.device->startTelemetry(kPeriod, {});
  for (const Opened& o : opened) {
    EXPECT_TRUE(waitUntil([&] { return allIn(*o.device, ReadingState::Fresh); }))
        << o.device->name();
  }
  // Every telemetry request went to one of the open devices, and the single-channel ones were
  // never asked what only the four-channel model answers.
  std::map<uint32_t, int> requestsPerDevice;
  for (const auto& frame : sent()) {
    if (std::find(kTelemetryRequests.begin(), kTelemetryRequests.end(), baseOf(frame.id)) ==
        kTelemetryRequests.end()) {
      continue;
    }
    ++requestsPerDevice[deviceOf(frame.id)];
    if (deviceOf(frame.id) == 7 || deviceOf(frame.id) == 8) {
      EXPECT_EQ(std::count(kSmallOnlyAbsent.begin(), kSmallOnlyAbsent.end(), baseOf(frame.id)), 0)
          << std::hex << frame.id;
    }
  }
  EXPECT_EQ(requestsPerDevice.size(), opened.size());
  for (const Opened& o : opened) EXPECT_GT(requestsPerDevice[static_cast<uint32_t>(o.number)], 0);

  // Device 4 stops answering, then answers again; the others stay fresh throughout.
  const auto othersFresh = [&] {
    for (const Opened& o : opened) {
      if (o.number != 4 && !allIn(*o.device, ReadingState::Fresh)) return false;
    }
    return true;
  };
  bool othersStayedFresh = true;
  opened[1].sim->detach();
  EXPECT_TRUE(waitUntil([&] {
    othersStayedFresh = othersStayedFresh && othersFresh();
    return allIn(*opened[1].device, ReadingState::Missing) && !opened[1].device->isConnected();
  }));
  opened[1].sim = answeringAtOnce(Kind::Quad, 4);
  EXPECT_TRUE(waitUntil([&] {
    othersStayedFresh = othersStayedFresh && othersFresh();
    return allIn(*opened[1].device, ReadingState::Fresh) && opened[1].device->isConnected();
  }));
  EXPECT_TRUE(othersStayedFresh);
  EXPECT_EQ(console(),
            "BrovaQuad on device 4 is not answering; its readings are missing until it does\n"
            "BrovaQuad on device 4 answers again\n");

  // Closed one at a time: nothing reaches a closed device, the others carry on.
  std::vector<brovasim::Clock::time_point> closedAt;
  for (Opened& o : opened) {
    o.device->close();
    EXPECT_FALSE(o.device->isOpen());
    closedAt.push_back(brovasim::Clock::now());
    std::this_thread::sleep_for(std::chrono::milliseconds(250));
  }
  const auto frames = sent();
  for (std::size_t i = 0; i < opened.size(); ++i) {
    const auto number = static_cast<uint32_t>(opened[i].number);
    EXPECT_EQ(std::count_if(
                  frames.begin(), frames.end(),
                  [&](const auto& f) { return deviceOf(f.id) == number && f.time > closedAt[i]; }),
              0)
        << opened[i].device->name();
    if (i + 1 == opened.size()) continue;
    for (std::size_t j = i + 1; j < opened.size(); ++j) {
      const auto later = static_cast<uint32_t>(opened[j].number);
      EXPECT_GT(std::count_if(frames.begin(), frames.end(),
                              [&](const auto& f) {
                                return f.id == kKeepAliveInactive + later && f.time > closedAt[i] &&
                                       f.time < closedAt[i + 1];
                              }),
                0)
          << opened[j].device->name() << " after " << opened[i].device->name() << " closed";
    }
  }
}

TEST_F(Devices, SecondOpenOnANumberIsRefusedNamingTheOpenOneUntilItCloses) {
  auto quad = Device::open(Kind::Quad, 5, 1000);
  for (const Kind kind : {Kind::Quad, Kind::Small}) {
    try {
      Device::open(kind, 5, 1000);
      ADD_FAILURE() << "a second open on device 5 was accepted";
    } catch (const std::logic_error& e) {
      EXPECT_STREQ(e.what(), "BrovaQuad on device 5 is already open; close it first");
    }
  }
  EXPECT_EQ(brovasim::can::openHandles().size(), 1u);
  quad->close();
  EXPECT_TRUE(brovasim::can::openHandles().empty());
  captureConsole();
  auto small = Device::open(Kind::Small, 5, 1000);
  EXPECT_TRUE(small->isOpen());
  EXPECT_EQ(console(), "Brova Initialized\n");
  EXPECT_THROW(Device::open(Kind::Quad, 5, 1000), std::logic_error);
}

TEST_F(Devices, OpenConfiguresEveryChannelAndSendsAKeepAliveAtOnce) {
  // Configure motor (API 10): channel, then the frequency's low 16 bits, little-endian.
  auto quad = Device::open(Kind::Quad, 5, 1000);
  ASSERT_TRUE(waitForFrames(kKeepAliveInactive + 5, 2));
  auto small = Device::open(Kind::Small, 7, 20000);
  const auto configured = [](uint32_t id) {
    std::vector<Bytes> payloads;
    for (const auto& f : sent(id)) payloads.push_back(f.data);
    return payloads;
  };
  EXPECT_EQ(
      configured(0x020C0280 + 5),
      (std::vector<Bytes>{{0, 0xE8, 0x03}, {1, 0xE8, 0x03}, {2, 0xE8, 0x03}, {3, 0xE8, 0x03}}));
  EXPECT_EQ(configured(0x020C0280 + 7), (std::vector<Bytes>{{0, 0x20, 0x4E}}));
  // The newcomer's first frame does not wait for the next pass, which sends device 5 its next.
  const std::size_t quadFrames = sent(kKeepAliveInactive + 5).size();
  ASSERT_TRUE(waitForFrames(kKeepAliveInactive + 5, quadFrames + 1));
  ASSERT_TRUE(waitForFrames(kKeepAliveInactive + 7, 1));
  EXPECT_LT(sent(kKeepAliveInactive + 7).front().time,
            sent(kKeepAliveInactive + 5).at(quadFrames).time);
}

// Device 5 of bus 0 and device 5 of bus 2 are two controllers: each is answered by its own bus's
// controller, loses it alone and closes alone.
TEST_F(Devices, TheSameNumberOnTwoBusesIsTwoDevices) {
  if (BROVA_HAL < 2027) GTEST_SKIP() << "the 2026 HAL has bus 0 only";
  const auto controllerOn = [](int bus, double celsius) {
    auto options = brovasim::SimController::defaults(brovasim::SimController::Model::Quad);
    options.replyLatency = std::chrono::microseconds(0);
    options.thermal.ambientCelsius = celsius;  // a reading tells whose it is
    options.bus = bus;
    return brovasim::SimController::attach(brovasim::SimController::Model::Quad, 5, options);
  };
  auto sim0 = controllerOn(0, 20.0);
  auto sim2 = controllerOn(2, 60.0);
  auto zero = Device::open(Kind::Quad, can::Address{.bus = 0, .device = 5}, 1000);
  auto two = Device::open(Kind::Quad, can::Address{.bus = 2, .device = 5}, 1000);
  EXPECT_EQ(two->name(), "BrovaQuad on device 5 of CAN bus 2");

  controller::setMotorSpeed(zero->model(), 1, 0.25);
  controller::setMotorSpeed(two->model(), 1, -0.5);
  EXPECT_DOUBLE_EQ(sim0->channel(1).commandedSpeed, 0.25);
  EXPECT_DOUBLE_EQ(sim2->channel(1).commandedSpeed, -0.5);
  EXPECT_NEAR(controller::getControllerTemp(zero->model()), 20.0, 0.5);
  EXPECT_NEAR(controller::getControllerTemp(two->model()), 60.0, 0.5);

  const std::size_t temperature = devices::slotOf(devices::kTemperature, 0);
  const auto freshTemperature = [&](const Device& d) {
    const auto r = d.readings().slots[temperature].read();
    return r.state == ReadingState::Fresh ? r.value : -1.0;
  };
  captureConsole();
  for (const auto& d : {zero, two})
    d->startTelemetry(kPeriod, {.quantities = devices::kTemperature});
  ASSERT_TRUE(
      waitUntil([&] { return freshTemperature(*zero) > 0.0 && freshTemperature(*two) > 0.0; }));
  EXPECT_TRUE(zero->isConnected() && two->isConnected());
  EXPECT_NEAR(freshTemperature(*zero), 20.0, 0.5);
  EXPECT_NEAR(freshTemperature(*two), 60.0, 0.5);

  // Bus 2 loses its controller; bus 0's goes on answering.
  sim2->detach();
  ASSERT_TRUE(waitUntil([&] { return !two->isConnected(); }));
  const int64_t before = zero->readings().slots[temperature].read().timeNanos;
  ASSERT_TRUE(
      waitUntil([&] { return zero->readings().slots[temperature].read().timeNanos > before; }));
  EXPECT_TRUE(zero->isConnected());
  EXPECT_NEAR(freshTemperature(*zero), 20.0, 0.5);
  EXPECT_EQ(two->readings().slots[temperature].read().state, ReadingState::Missing);
  EXPECT_EQ(console(),
            "BrovaQuad on device 5 of CAN bus 2 is not answering; its readings are missing until "
            "it does\n");

  // Closing bus 2's device leaves bus 0's keep-alive running, and sends bus 2 nothing more.
  two->close();
  const auto keepAlivesOn = [](int bus) {
    std::size_t n = 0;
    for (const auto& f : brovasim::can::sentFrames())
      n += f.bus == bus && baseOf(f.id) == kKeepAliveInactive;
    return n;
  };
  const std::size_t onTwo = keepAlivesOn(2);
  const std::size_t onZero = keepAlivesOn(0);
  ASSERT_TRUE(waitUntil([&] { return keepAlivesOn(0) >= onZero + 2; }));
  EXPECT_EQ(keepAlivesOn(2), onTwo);
  EXPECT_TRUE(zero->isConnected());
}

TEST_F(Devices, OneKeepAliveAndOneTelemetryThreadForTwentyDevices) {
  std::thread([] {}).join();  // sanitizer runtimes start their threads with the first one
  const int before = settledThreadCount();
  std::vector<std::shared_ptr<Device>> open;
  for (int number = 10; number < 30; ++number) {
    open.push_back(Device::open(number % 2 == 0 ? Kind::Quad : Kind::Small, number, 1000));
    open.back()->startTelemetry(std::chrono::seconds(1), {.quantities = devices::kCurrent});
  }
  EXPECT_EQ(threadsNamed("brova-devalive"), 1);
  EXPECT_EQ(threadsNamed("brova-telemetry"), 1);
  // Two when this process had not started them before, none when it had.
  EXPECT_LE(settledThreadCount(), before + 2);
  for (const auto& device : open) device->close();
  EXPECT_LE(settledThreadCount(), before + 2);
}

}  // namespace
}  // namespace brova::testing
