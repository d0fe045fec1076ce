// What the telemetry thread reads: each quantity decoded as its model encodes it, only replies
// that came after their request, no reply overwriting a reset, and the bus it takes.
#include <algorithm>
#include <cmath>
#include <string>

#include "controller/Commands.h"
#include "controller/Queries.h"
#include "devices/DevicesTest.h"
#include "devices/ReadingWriter.h"
#include "support/Responder.h"

namespace brova::testing {
namespace {

using devices::Choice;
using devices::Quantity;

// Wire facts in literal numbers, kept apart from the library's own table on purpose.
constexpr uint32_t kCurrentRequest = 0x020C03C0;
constexpr uint32_t kCurrentReply = 0x020C0400;
constexpr uint32_t kCountRequest = 0x020C0440;
constexpr uint32_t kCountReply = 0x020C0480;
constexpr uint32_t kTempRequest = 0x020C05C0;
constexpr uint32_t kTempReply = 0x020C0600;
constexpr uint32_t kRpmRequest = 0x020C0640;
constexpr uint32_t kRpmReply = 0x020C0680;
constexpr int kNumber = 5;
constexpr auto kLongPeriod = std::chrono::seconds(10);  // one round in the test's time

class Telemetry : public SimTest {};

TEST_F(Telemetry, EachQuantityIsDecodedAsItsModelEncodesIt) {
  const struct {
    const char* name;
    Kind kind;
    Quantity quantity;
    unsigned channel;
    uint32_t request;
    uint32_t reply;
    std::vector<uint8_t> bytes;
    double expected;
  } rows[] = {
      {"quad current: amperes and hundredths",
       Kind::Quad,
       devices::kCurrent,
       2,
       kCurrentRequest,
       kCurrentReply,
       {3, 25},
       3.25},
      {"small current: byte 1 added whole",
       Kind::Small,
       devices::kCurrent,
       0,
       kCurrentRequest,
       kCurrentReply,
       {3, 25},
       28.0},
      {"quad rpm: unsigned little-endian",
       Kind::Quad,
       devices::kRpm,
       1,
       kRpmRequest,
       kRpmReply,
       {0x34, 0x12},
       4660.0},
      {"quad count: signed 32 bits",
       Kind::Quad,
       devices::kEncoderCount,
       3,
       kCountRequest,
       kCountReply,
       {0xFE, 0xFF, 0xFF, 0xFF},
       -2.0},
      {"small count",
       Kind::Small,
       devices::kEncoderCount,
       0,
       kCountRequest,
       kCountReply,
       {0x10, 0x27, 0, 0},
       10000.0},
      {"quad temperature: degrees and hundredths",
       Kind::Quad,
       devices::kTemperature,
       0,
       kTempRequest,
       kTempReply,
       {41, 50},
       41.5},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    brovasim::can::reset();
    brovasim::can::setRecording(true);
    Responder responder(row.request + kNumber, row.reply + kNumber,
                        [&](const brovasim::SentFrame&) { return row.bytes; });
    auto device = Device::open(row.kind, kNumber, 1000);
    device->startTelemetry(kLongPeriod,
                           {.quantities = row.quantity, .channels = 1u << row.channel});
    const auto& slot = device->readings().slots[devices::slotOf(row.quantity, row.channel)];
    ASSERT_TRUE(waitUntil([&] { return slot.read().state == ReadingState::Fresh; }));
    EXPECT_DOUBLE_EQ(slot.read().value, row.expected);
    const auto requests = sent(row.request + kNumber);
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests.front().data[0], row.channel);
    EXPECT_TRUE(device->isConnected());
  }
}

TEST_F(Telemetry, AReplyKeptFromBeforeTheRequestIsNotTaken) {
  brovasim::can::putFrame(kCurrentReply + kNumber, {9, 9});
  auto device = Device::open(Kind::Quad, kNumber, 1000);
  device->startTelemetry(kLongPeriod, {.quantities = devices::kCurrent, .channels = 1});
  ASSERT_TRUE(waitUntil([&] { return device->lastRound().count() > 0; }));
  const auto reading = device->readings().slots[devices::slotOf(devices::kCurrent, 0)].read();
  EXPECT_EQ(reading.state, ReadingState::Missing);
  EXPECT_TRUE(std::isnan(reading.value));
  EXPECT_EQ(reading.timeNanos, 0);
  EXPECT_FALSE(device->isConnected());
}

TEST_F(Telemetry, AResetWhileTheRequestIsUnderWayIsNotOverwritten) {
  std::shared_ptr<Device> device = Device::open(Kind::Quad, kNumber, 1000);
  const std::size_t slot = devices::slotOf(devices::kEncoderCount, 1);
  // The controller hears the request, the program resets the count, then the reply comes.
  Responder responder(kCountRequest + kNumber, kCountReply + kNumber,
                      [&](const brovasim::SentFrame&) {
                        device->resetReading(slot, 0.0);
                        return std::vector<uint8_t>{0xD2, 0x04, 0, 0};  // 1234
                      });
  device->startTelemetry(kLongPeriod, {.quantities = devices::kEncoderCount, .channels = 2});
  ASSERT_TRUE(waitUntil([&] { return device->lastRound().count() > 0; }));
  const auto reading = device->readings().slots[slot].read();
  EXPECT_EQ(reading.state, ReadingState::Fresh);
  EXPECT_EQ(reading.value, 0.0);
  EXPECT_TRUE(device->isConnected());  // the reply was taken, only not kept
}

// Replies carry no channel: a reply that comes after its request gave up must not be taken for
// the next channel's. The controller here answers only when the test says so.
TEST_F(Telemetry, ALateReplyIsNeverTakenForTheNextChannel) {
  auto device = Device::open(Kind::Quad, kNumber, 1000);
  const std::vector<uint8_t> channel0Reply{5, 0};

  // Blocking: channel 0's reply comes after its query gave up, before channel 1 is asked. Were
  // it taken, channel 1 would read 5 A.
  EXPECT_EQ(controller::getCurrent(device->model(), 0), 0.0);
  brovasim::can::putFrame(kCurrentReply + kNumber, channel0Reply);
  EXPECT_EQ(controller::getCurrent(device->model(), 1), 0.0);
  EXPECT_EQ(sent(kCurrentRequest + kNumber).size(), 2u);  // the late reply let it go out

  // Telemetry: after channel 0's request went unanswered, channel 1's waits for the late reply
  // for two more pauses (10 ms each) instead of going out at once. A lower bound: a slow
  // machine only makes the gap longer.
  device->startTelemetry(kLongPeriod, {.quantities = devices::kCurrent, .channels = 0b11});
  ASSERT_TRUE(waitUntil([&] { return sent(kCurrentRequest + kNumber).size() >= 4; }));
  const auto requests = sent(kCurrentRequest + kNumber);
  EXPECT_EQ(requests[2].data[0], 0);
  EXPECT_EQ(requests[3].data[0], 1);
  EXPECT_GE(requests[3].time - requests[2].time, std::chrono::milliseconds(29));
  device->close();
}

// Whether a device is connected follows its blocking queries' answers as well as the
// telemetry's; a reading the telemetry stopped confirming is stale.
TEST_F(Telemetry, BlockingAnswersFeedConnectedAndStoppedReadingsGoStale) {
  captureConsole();
  auto device = Device::open(Kind::Quad, kNumber, 1000);
  EXPECT_FALSE(device->isConnected());
  {
    Responder responder(kTempRequest + kNumber, kTempReply + kNumber,
                        [](const brovasim::SentFrame&) {
                          return std::vector<uint8_t>{30, 0};
                        });
    EXPECT_EQ(controller::getControllerTemp(device->model()), 30.0);
    EXPECT_TRUE(device->isConnected());
    device->startTelemetry(kLongPeriod, {.quantities = devices::kTemperature, .channels = 1});
    const std::size_t slot = devices::slotOf(devices::kTemperature, 0);
    ASSERT_TRUE(waitUntil([&] {
      return devices::seen(device->readings(), slot, devices::readingTimeNow()).state ==
             ReadingState::Fresh;
    }));
    device->stopTelemetry();
    const auto kept = devices::seen(device->readings(), slot, devices::readingTimeNow());
    EXPECT_EQ(kept.state, ReadingState::Stale);
    EXPECT_EQ(kept.value, 30.0);
  }
  // Each after the wait for the previous one's late reply ended (two pauses).
  for (int i = 0; i < 3; ++i) {
    controller::getControllerTemp(device->model());
    std::this_thread::sleep_for(std::chrono::milliseconds(25));
  }
  EXPECT_FALSE(device->isConnected());
  const std::string lines = console();
  EXPECT_NE(lines.find("BrovaQuad on device 5 is not answering"), std::string::npos) << lines;
}

// The reader's rules over the stored words: fresh only while confirmed, connected only lately.
TEST(Readings, FreshnessAndConnectionAsReadersSeeThem) {
  constexpr int64_t kMs = 1'000'000;
  constexpr int64_t kNow = 1'000'000 * kMs;
  const struct {
    ReadingState stored;
    int64_t freshFor;
    int64_t age;
    ReadingState seen;
  } readings[] = {
      {ReadingState::Fresh, 60 * kMs, 59 * kMs, ReadingState::Fresh},
      {ReadingState::Fresh, 60 * kMs, 61 * kMs, ReadingState::Stale},
      {ReadingState::Fresh, 0, 0, ReadingState::Stale},  // telemetry stopped
      {ReadingState::Missing, 60 * kMs, 1 * kMs, ReadingState::Missing},
      {ReadingState::NotRead, 60 * kMs, 0, ReadingState::NotRead},
  };
  for (const auto& row : readings) {
    devices::ReadingBlock block;
    block.freshForNanos = static_cast<uint64_t>(row.freshFor);
    block.slots[0].write({.value = 1.0, .timeNanos = kNow - row.age, .state = row.stored});
    EXPECT_EQ(devices::seen(block, 0, kNow).state, row.seen)
        << static_cast<int>(row.stored) << " aged " << row.age;
  }
  const struct {
    int64_t heardAgo;  // -1: not connected
    int64_t freshFor;
    bool connected;
  } connections[] = {
      {-1, 0, false},
      {999 * kMs, 0, true},
      {1001 * kMs, 0, false},
      {1001 * kMs, 3000 * kMs, true},
      {3001 * kMs, 3000 * kMs, false},
  };
  for (const auto& row : connections) {
    devices::ReadingBlock block;
    block.freshForNanos = static_cast<uint64_t>(row.freshFor);
    block.connected = row.heardAgo < 0 ? 0 : static_cast<uint64_t>(kNow - row.heardAgo);
    EXPECT_EQ(devices::connectedAt(block, kNow), row.connected) << row.heardAgo;
  }
}

TEST_F(Telemetry, TheLongestPeriodReadsOneRoundNotRoundsBackToBack) {
  auto sim = answeringAtOnce(Kind::Quad, kNumber);
  auto device = Device::open(Kind::Quad, kNumber, 1000);
  device->startTelemetry(std::chrono::nanoseconds::max(),
                         {.quantities = devices::kCurrent, .channels = 1});
  ASSERT_TRUE(waitUntil([&] { return device->lastRound().count() > 0; }));
  // Rounds against a controller that answers at once take well under a millisecond.
  std::this_thread::sleep_for(std::chrono::milliseconds(100));
  EXPECT_EQ(sent(kCurrentRequest + kNumber).size(), 1u);
}

TEST_F(Telemetry, FramesPerSecondCountRequestsRepliesAndKeepAlive) {
  using std::chrono::milliseconds;
  const struct {
    const char* name;
    Kind kind;
    Choice choice;
    milliseconds period;
    double expected;
  } rows[] = {
      // 13 requests in 4 waves of 2.5 ms: 100 rounds a second.
      {"full quad back to back", Kind::Quad, {}, milliseconds(0), 26 * 100 + 10},
      {"full quad every 20 ms", Kind::Quad, {}, milliseconds(20), 26 * 50 + 10},
      // 2 requests in one wave; RPM and temperature are not the single-channel model's.
      {"full small back to back", Kind::Small, {}, milliseconds(0), 4 * 400 + 10},
      {"full small every 100 ms", Kind::Small, {}, milliseconds(100), 4 * 10 + 10},
      // 2 channels, 2 waves: 5 ms a round even when asked for every millisecond.
      {"quad currents of two channels",
       Kind::Quad,
       {.quantities = devices::kCurrent, .channels = 0b0101},
       milliseconds(1),
       4 * 200 + 10},
      {"nothing chosen", Kind::Quad, {.quantities = 0}, milliseconds(0), 10},
  };
  for (const auto& row : rows) {
    EXPECT_NEAR(devices::framesPerSecond(row.kind, row.choice, row.period), row.expected, 1e-6)
        << row.name;
  }
  EXPECT_NEAR(devices::busShare(2610), 0.4176, 1e-9);
}

TEST_F(Telemetry, BusWarningOnceAndOnlyWhenOverHalf) {
  const std::string warning = "BrovaDriver: the telemetry asked for takes about";
  const auto warnings = [&warning](const std::string& text) {
    std::size_t count = 0;
    for (auto at = text.find(warning); at != std::string::npos; at = text.find(warning, at + 1)) {
      ++count;
    }
    return count;
  };
  auto a = Device::open(Kind::Quad, 3, 1000);
  auto b = Device::open(Kind::Quad, 4, 1000);
  auto c = Device::open(Kind::Quad, 6, 1000);
  captureConsole();
  a->startTelemetry(std::chrono::milliseconds(0), {});  // 2610 frames/s: 42 %
  a->stopTelemetry();
  a->startTelemetry(std::chrono::milliseconds(0), {});
  const std::string underHalf = console();
  EXPECT_EQ(warnings(underHalf), 0u) << underHalf;

  // Each bus counts its own devices: 42 % on bus 2 beside bus 0's 42 % warns of neither.
  constexpr bool kBuses = BROVA_HAL >= 2027;
  std::shared_ptr<Device> d, e;
  if (kBuses) {
    d = Device::open(Kind::Quad, can::Address{.bus = 2, .device = 3}, 1000);
    e = Device::open(Kind::Quad, can::Address{.bus = 2, .device = 4}, 1000);
    captureConsole();
    d->startTelemetry(std::chrono::milliseconds(0), {});
    const std::string besideBusZero = console();
    EXPECT_EQ(warnings(besideBusZero), 0u) << besideBusZero;
  }

  captureConsole();
  b->startTelemetry(std::chrono::milliseconds(20), {});  // + 1310: 3920 frames/s, 63 %
  c->startTelemetry(std::chrono::milliseconds(0), {});
  b->startTelemetry(std::chrono::milliseconds(0), {});
  const std::string overHalf = console();
  EXPECT_EQ(warnings(overHalf), 1u) << overHalf;
  EXPECT_NE(overHalf.find(warning + " 63% of a 1 Mbit/s CAN bus; read fewer quantities or less "
                                    "often\n"),
            std::string::npos)
      << overHalf;
  if (kBuses) {
    // Bus 2's own warning, once bus 2 goes over half, names it.
    captureConsole();
    e->startTelemetry(std::chrono::milliseconds(20), {});
    const std::string busTwo = console();
    EXPECT_NE(busTwo.find(warning + " 63% of a 1 Mbit/s CAN bus (bus 2); read fewer quantities "
                                    "or less often\n"),
              std::string::npos)
        << busTwo;
  }
}

}  // namespace
}  // namespace brova::testing
