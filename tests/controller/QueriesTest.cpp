// Telemetry, identity and encoder queries through the exported functions, against replies put
// on the simulated bus.
#include <algorithm>
#include <functional>
#include <string>
#include <thread>

#include "BrovaDriver.h"
#include "support/Responder.h"
#include "support/SimTest.h"

namespace brova::testing {
namespace {

constexpr int kQuad = 5;
constexpr int kSmall = 7;

class Queries : public SimTest {
 protected:
  void SetUp() override {
    SimTest::SetUp();
    quad_ = c_BrovaQuad_create(kQuad, 1000, nullptr, 0);
    small_ = c_BrovaSmall_create(kSmall, 1000, nullptr);
  }
  void TearDown() override {
    c_BrovaQuad_destroy(quad_);
    c_BrovaSmall_destroy(small_);
    SimTest::TearDown();
  }

  // The request frames sent to `id`, and the receive calls made, since the last clear.
  static void clear() {
    brovasim::can::clearSentFrames();
    brovasim::can::removeAllFrames();
  }

  int32_t quad_ = 0;
  int32_t small_ = 0;
};

TEST_F(Queries, RequestThenOneReadAfterTheModelsPause) {
  const struct {
    const char* name;
    std::function<void()> query;
    uint32_t request;
    Bytes payload;
    uint32_t reply;
    std::chrono::milliseconds pause;
  } rows[] = {
      {"quad current motor 2",
       [this] { c_BrovaQuad_getCurrent(quad_, 2); },
       0x020C03C0 + kQuad,
       {2},
       0x020C0400 + kQuad,
       10ms},
      {"quad temperature",
       [this] { c_BrovaQuad_getControllerTemp(quad_); },
       0x020C05C0 + kQuad,
       {},
       0x020C0600 + kQuad,
       10ms},
      {"quad rpm motor 3",
       [this] { c_BrovaQuad_getRPM(quad_, 3); },
       0x020C0640 + kQuad,
       {3},
       0x020C0680 + kQuad,
       10ms},
      {"quad encoder 3",
       [this] { c_BrovaQuadEncoder_getEncoderDistance(quad_, 3, 1.0, 0, nullptr); },
       0x020C0440 + kQuad,
       {3},
       0x020C0480 + kQuad,
       10ms},
      {"quad id",
       [this] { c_BrovaQuad_getID(quad_); },
       0x020C0000 + kQuad,
       {},
       0x020C0040 + kQuad,
       10ms},
      {"quad frequency",
       [this] { c_BrovaQuad_getFrequency(quad_); },
       0x020C02C0 + kQuad,
       {},
       0x020C0300 + kQuad,
       10ms},
      {"quad firmware",
       [this] { c_BrovaQuad_getFirmwareVersion(quad_); },
       0x020C0080 + kQuad,
       {},
       0x020C00C0 + kQuad,
       10ms},
      {"quad hardware",
       [this] { c_BrovaQuad_getHardwareVersion(quad_); },
       0x020C0100 + kQuad,
       {},
       0x020C0140 + kQuad,
       10ms},
      {"small current",
       [this] { c_BrovaSmall_getCurrent(small_); },
       0x020C03C0 + kSmall,
       {},
       0x020C0400 + kSmall,
       100ms},
      {"small encoder",
       [this] { c_BrovaSmallEncoder_getEncoderDistance(small_, 1.0, 0, nullptr); },
       0x020C0440 + kSmall,
       {},
       0x020C0480 + kSmall,
       100ms},
  };
  for (const auto& row : rows) {
    clear();
    captureConsole();
    row.query();
    console();
    const auto requests = sent(row.request);
    ASSERT_EQ(requests.size(), 1u) << row.name;
    EXPECT_EQ(requests[0].data, row.payload) << row.name;
    const auto calls = brovasim::can::receiveCalls();
    ASSERT_FALSE(calls.empty()) << row.name;
    const auto& read = calls.back();
    EXPECT_EQ(read.id, row.reply) << row.name;
    const auto waited = read.time - requests[0].time;
    EXPECT_GE(waited, row.pause) << row.name;
    // One pause, not the other model's: a BrovaQuad query waiting 100 ms fails here.
    EXPECT_LT(waited, row.pause + 80ms) << row.name;
    brovasim::can::putFrame(0, {});  // keeps receive records apart between rows
  }
}

TEST_F(Queries, SerialNumberReadsThreeRepliesBackToBack) {
  brovasim::can::putFrame(0x020C01C0 + kQuad, {0x78, 0x56, 0x34, 0x12, 9, 9, 9, 9});
  brovasim::can::putFrame(0x020C0200 + kQuad, {0xEF, 0xCD, 0xAB, 0x00});
  brovasim::can::putFrame(0x020C0240 + kQuad, {0x01, 0, 0, 0});
  const size_t before = brovasim::can::receiveCalls().size();
  EXPECT_EQ(c_BrovaQuad_getSerialNumber(quad_), "12345678-00ABCDEF-00000001");
  const auto requests = sent(0x020C0180 + kQuad);
  ASSERT_EQ(requests.size(), 1u);
  EXPECT_EQ(requests[0].data, Bytes{});
  const auto calls = brovasim::can::receiveCalls();
  ASSERT_EQ(calls.size() - before, 3u);
  EXPECT_EQ(calls[before].id, 0x020C01C0u + kQuad);
  EXPECT_EQ(calls[before + 1].id, 0x020C0200u + kQuad);
  EXPECT_EQ(calls[before + 2].id, 0x020C0240u + kQuad);
  EXPECT_GE(calls[before].time - requests[0].time, 10ms);
  // No pause between them: two pauses would put 20 ms between the first and the third.
  EXPECT_LT(calls[before + 2].time - calls[before].time, 20ms);
}

TEST_F(Queries, RepliesDecodeThroughEveryQuery) {
  using brovasim::can::putFrame;
  putFrame(0x020C0040 + kQuad, {5, 1, 0, 0, 0, 0, 0, 0});
  EXPECT_EQ(c_BrovaQuad_getID(quad_), 5);
  putFrame(0x020C0300 + kSmall, {0x10, 0x27, 0, 0, 0, 0, 0, 0});
  EXPECT_EQ(c_BrovaSmall_getFrequency(small_), 16);
  putFrame(0x020C0400 + kQuad, {0x02, 0x32, 0xFF, 0xFF});
  putFrame(0x020C0400 + kSmall, {0x02, 0x32});
  EXPECT_DOUBLE_EQ(c_BrovaQuad_getCurrent(quad_, 1), 2.5);
  EXPECT_DOUBLE_EQ(c_BrovaSmall_getCurrent(small_), 52.0);
  putFrame(0x020C0600 + kQuad, {0x1E, 0x05});
  EXPECT_DOUBLE_EQ(c_BrovaQuad_getControllerTemp(quad_), 30.05);
  putFrame(0x020C0680 + kQuad, {0xFF, 0xFF});
  EXPECT_EQ(c_BrovaQuad_getRPM(quad_, 0), 65535.0);
  putFrame(0x020C00C0 + kSmall, {0xFF, 0x00, 0x07, 0x63});
  EXPECT_EQ(c_BrovaSmall_getFirmwareVersion(small_), "Firmware Version: [255.0.7]");
  putFrame(0x020C0140 + kQuad, {0x03, 0x05});
  putFrame(0x020C0140 + kSmall, {0x03, 0x05});
  EXPECT_EQ(c_BrovaQuad_getHardwareVersion(quad_), "No Hardware Found!");
  EXPECT_EQ(c_BrovaSmall_getHardwareVersion(small_), "Hardware: Brova Small, Version: 5");
  putFrame(0x020C01C0 + kSmall, {0xFF, 0xFF, 0xFF, 0xFF});
  putFrame(0x020C0200 + kSmall, {0xBC, 0x0A, 0x00, 0x00});
  EXPECT_EQ(c_BrovaSmall_getSerialNumber(small_), "FFFFFFFF-00000ABC-00000000");
}

TEST_F(Queries, ShortRepliesReadTheMissingBytesAsZero) {
  using brovasim::can::putFrame;
  putFrame(0x020C0400 + kQuad, {0x02});
  EXPECT_DOUBLE_EQ(c_BrovaQuad_getCurrent(quad_, 1), 2.0);
  putFrame(0x020C0480 + kQuad, {0x10, 0x27});
  EXPECT_DOUBLE_EQ(c_BrovaQuadEncoder_getEncoderDistance(quad_, 0, 1.0, 0, nullptr), 10000.0);
  putFrame(0x020C0680 + kQuad, std::vector<uint8_t>{});
  EXPECT_EQ(c_BrovaQuad_getRPM(quad_, 0), 0.0);
}

TEST_F(Queries, MissingRepliesPrintTheirLineAndReadAsZero) {
  const struct {
    const char* name;
    std::function<std::string()> query;
    const char* line;
    std::string result;
  } rows[] = {
      {"quad id", [this] { return std::to_string(c_BrovaQuad_getID(quad_)); },
       "Device ID could not be obtained\n", "0"},
      {"quad frequency", [this] { return std::to_string(c_BrovaQuad_getFrequency(quad_)); },
       "Motor frequency could not be obtained\n", "0"},
      {"quad current 2", [this] { return std::to_string(c_BrovaQuad_getCurrent(quad_, 2)); },
       "Motor current could not be obtained for motor: 2\n", "0.000000"},
      {"quad current 255", [this] { return std::to_string(c_BrovaQuad_getCurrent(quad_, 255)); },
       "Motor current could not be obtained for motor: 255\n", "0.000000"},
      {"quad current 1 after an earlier query took the reply",
       [this] {
         brovasim::can::putFrame(0x020C0400 + kQuad, {1, 0x32});
         const double first = c_BrovaQuad_getCurrent(quad_, 1);
         return std::to_string(first) + "/" + std::to_string(c_BrovaQuad_getCurrent(quad_, 1));
       },
       "Motor current could not be obtained for motor: 1\n", "1.500000/0.000000"},
      {"quad temperature", [this] { return std::to_string(c_BrovaQuad_getControllerTemp(quad_)); },
       "Controller temp could not be obtained\n", "0.000000"},
      {"quad rpm", [this] { return std::to_string(c_BrovaQuad_getRPM(quad_, 2)); },
       "RPM could not be obtained\n", "0.000000"},
      {"quad firmware", [this] { return c_BrovaQuad_getFirmwareVersion(quad_); },
       "Firmware version could not be obtained\n", "Firmware Version: [0.0.0]"},
      {"quad hardware", [this] { return c_BrovaQuad_getHardwareVersion(quad_); },
       "Hardware version could not be obtained\n", "No Hardware Found!"},
      {"quad serial", [this] { return c_BrovaQuad_getSerialNumber(quad_); }, "",
       "00000000-00000000-00000000"},
      {"quad encoder 2",
       [this] {
         double slot = 9.0;
         const double distance = c_BrovaQuadEncoder_getEncoderDistance(quad_, 2, 3.0, 0, &slot);
         return std::to_string(distance) + "/" + std::to_string(slot);
       },
       "Encoder distance could not be obtained for encoder: 2\n", "0.000000/0.000000"},
      {"small current", [this] { return std::to_string(c_BrovaSmall_getCurrent(small_)); },
       "Motor current could not be obtained\n", "0.000000"},
      {"small hardware", [this] { return c_BrovaSmall_getHardwareVersion(small_); },
       "Hardware version could not be obtained\n", "Hardware: Brova Small, Version: 0"},
      {"small encoder",
       [this] {
         return std::to_string(c_BrovaSmallEncoder_getEncoderDistance(small_, 1.0, 0, nullptr));
       },
       "Encoder distance could not be obtained\n", "0.000000"},
  };
  for (const auto& row : rows) {
    captureConsole();
    const std::string result = row.query();
    EXPECT_EQ(console(), row.line) << row.name;
    EXPECT_EQ(result, row.result) << row.name;
  }
}

TEST_F(Queries, AReplyWithAnErrorStatusIsAMissingReply) {
  brovasim::can::putFrame(0x020C0040 + kQuad, {5});
  brovasim::can::failNextReceives(-1);
  captureConsole();
  EXPECT_EQ(c_BrovaQuad_getID(quad_), 0);
  EXPECT_EQ(console(), "Device ID could not be obtained\n");
}

TEST_F(Queries, EncoderDistanceIgnoresTheCountArgumentAndFillsTheSlot) {
  for (int32_t count : {0, 7, -3, INT32_MIN}) {
    brovasim::can::putFrame(0x020C0480 + kSmall, {0x10, 0x27, 0, 0, 1, 2, 3, 4});
    double slot = 0.0;
    EXPECT_DOUBLE_EQ(c_BrovaSmallEncoder_getEncoderDistance(small_, 0.5, count, &slot), 5000.0);
    EXPECT_DOUBLE_EQ(slot, 5000.0);
  }
  brovasim::can::putFrame(0x020C0480 + kQuad, {0xFF, 0xFF, 0xFF, 0xFF});
  EXPECT_DOUBLE_EQ(c_BrovaQuadEncoder_getEncoderDistance(quad_, 1, 2.5, 42, nullptr), -2.5);
}

TEST_F(Queries, EveryCallAsksAgain) {
  brovasim::can::putFrame(0x020C0040 + kQuad, {5});
  c_BrovaQuad_getID(quad_);
  c_BrovaQuad_getID(quad_);
  EXPECT_EQ(sent(0x020C0000 + kQuad).size(), 2u);
}

// A stand-in controller answers each current request with its own motor's current; queries
// that overlap in time must each get the reply to their own request.
TEST_F(Queries, OverlappingQueriesEachGetTheirOwnReply) {
  Responder controller(0x020C03C0 + kQuad, 0x020C0400 + kQuad,
                       [](const brovasim::SentFrame& request) {
                         return std::vector<uint8_t>{static_cast<uint8_t>(10 * request.data[0]), 0};
                       });
  std::vector<std::thread> threads;
  std::vector<int> wrong(4, 0);
  for (uint8_t motor = 1; motor <= 3; ++motor) {
    threads.emplace_back([this, motor, &wrong] {
      for (int i = 0; i < 5; ++i)
        wrong[motor] += c_BrovaQuad_getCurrent(quad_, motor) != 10.0 * motor;
    });
  }
  for (auto& t : threads) t.join();
  EXPECT_EQ(wrong, (std::vector<int>{0, 0, 0, 0}));
}

TEST_F(Queries, CommandsDoNotWaitForARunningQuery) {
  std::thread query([this] { c_BrovaSmall_getCurrent(small_); });
  ASSERT_TRUE(waitForFrames(0x020C03C0 + kSmall, 1));
  c_BrovaSmall_setMotorSpeed(small_, 0.5);
  query.join();
  // The command went out while the query waited its 100 ms for the reply, before reading it.
  const auto commands = sent(0x020C0387);
  ASSERT_EQ(commands.size(), 1u);
  const auto calls = brovasim::can::receiveCalls();
  const auto read = std::find_if(calls.begin(), calls.end(),
                                 [](const auto& c) { return c.id == 0x020C0400u + kSmall; });
  ASSERT_NE(read, calls.end());
  EXPECT_LT(commands[0].time, read->time);
}

}  // namespace
}  // namespace brova::testing
