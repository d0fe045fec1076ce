// Many caller threads issuing every operation of both models and the analog board at once,
// while the keep-alive tasks run. Run under the thread sanitizer, it also checks for data races.
#include <atomic>
#include <cmath>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <tuple>

#include "BrovaDriver.h"
#include "brovasim/SimAnalogBoard.h"
#include "support/SimTest.h"

namespace brova::testing {
namespace {

constexpr int kQuad = 5;
constexpr int kSmall = 7;
constexpr int kThreads = 8;
constexpr auto kRunFor = 1500ms;

using FrameKey = std::tuple<uint32_t, Bytes>;

// A stand-in for both controllers that answers every query at once, with a reply that depends
// only on the request, so each caller knows which value its own request must decode to.
std::vector<std::pair<uint32_t, std::vector<uint8_t>>> answer(const brovasim::SentFrame& f) {
  const uint32_t device = f.id & 0x3F;
  const uint32_t base = f.id - device;
  const uint8_t channel = f.data[0];
  auto reply = [&](uint32_t replyBase, std::vector<uint8_t> bytes) {
    return std::pair{replyBase + device, std::move(bytes)};
  };
  switch (base) {
    case 0x020C0000: return {reply(0x020C0040, {uint8_t(device)})};
    case 0x020C02C0: return {reply(0x020C0300, {uint8_t(device * 2)})};
    case 0x020C03C0: return {reply(0x020C0400, {channel, 7})};
    case 0x020C05C0: return {reply(0x020C0600, {30, 5})};
    case 0x020C0640: return {reply(0x020C0680, {channel, 1})};
    case 0x020C0440: {
      const int32_t count = (channel + 1) * 1000 * (device == kQuad ? 1 : -1);
      const auto c = static_cast<uint32_t>(count);
      return {reply(0x020C0480, {uint8_t(c), uint8_t(c >> 8), uint8_t(c >> 16), uint8_t(c >> 24)})};
    }
    case 0x020C0080: return {reply(0x020C00C0, {uint8_t(device), 2, 3})};
    case 0x020C0100: return {reply(0x020C0140, {uint8_t(device == kQuad ? 1 : 2), 9})};
    case 0x020C0180:
      return {reply(0x020C01C0, {uint8_t(device)}), reply(0x020C0200, {2}), reply(0x020C0240, {3})};
    default: return {};
  }
}

class Stress : public SimTest {
 protected:
  void SetUp() override {
    SimTest::SetUp();
    subscription_ = brovasim::can::subscribe([](const brovasim::SentFrame& f) {
      for (auto& [id, bytes] : answer(f)) brovasim::can::putFrame(id, bytes);
    });
    board_ = brovasim::attachAnalogBoard();
    for (int channel = 0; channel < 4; ++channel) board_->setInput(channel, 0.3 * (channel + 1));
    captureConsole();
    ASSERT_TRUE(c_initializeI2C(5));
    quad_ = c_BrovaQuad_create(kQuad, 1000, nullptr, 0);
    small_ = c_BrovaSmall_create(kSmall, 1000, nullptr);
    brovasim::can::setSystemActive(true);
    console();
    brovasim::can::clearSentFrames();
  }
  void TearDown() override {
    c_BrovaQuad_destroy(quad_);
    c_BrovaSmall_destroy(small_);
    brovasim::can::unsubscribe(subscription_);
    SimTest::TearDown();
  }

  int32_t quad_ = 0;
  int32_t small_ = 0;
  int subscription_ = 0;
  std::shared_ptr<brovasim::SimAnalogBoard> board_;
};

TEST_F(Stress, EveryCommandArrivesOnceAndEveryQueryReadsItsOwnReply) {
  std::mutex expectedLock;
  std::map<FrameKey, int> expected;
  std::atomic<int> wrong = 0;
  std::atomic<int> queries = 0;
  std::vector<std::string> failures;
  const auto deadline = std::chrono::steady_clock::now() + kRunFor;

  auto worker = [&](int thread) {
    std::map<FrameKey, int> mine;
    auto expect = [&](uint32_t id, Bytes bytes) { ++mine[{id, bytes}]; };
    auto check = [&](bool ok, const char* what) {
      ++queries;
      if (!ok) {
        ++wrong;
        std::lock_guard lock(expectedLock);
        failures.push_back(what);
      }
    };
    for (int i = 0; std::chrono::steady_clock::now() < deadline; ++i) {
      const auto motor = static_cast<uint8_t>((thread + i) % 4);
      // Quarter steps: exact in binary, so the frame's magnitude byte is known exactly.
      const auto step = static_cast<uint8_t>(25 * (i % 5));
      switch (i % 16) {
        case 0:
          c_BrovaQuad_setMotorSpeed(quad_, motor, step / 100.0);
          expect(0x020C0380 + kQuad, {motor, step, 1, uint8_t(step == 0), 0, 0, 0, 0});
          break;
        case 1:
          c_BrovaSmall_setMotorSpeed(small_, -step / 100.0);
          expect(0x020C0380 + kSmall, {0, step, uint8_t(step == 0), 1, 0, 0, 0, 0});
          break;
        case 2:
          c_BrovaQuad_disableMotor(quad_, motor);
          expect(0x020C0340 + kQuad, {motor});
          break;
        case 3:
          c_BrovaQuad_configureMotor(quad_, 1000 + step, motor);
          expect(0x020C0280 + kQuad,
                 {motor, uint8_t((1000 + step) & 0xFF), uint8_t((1000 + step) >> 8)});
          break;
        case 4:
          c_BrovaQuadEncoder_resetEncoder(quad_, motor);
          expect(0x020C04C0 + kQuad, {motor});
          break;
        case 5:
          c_BrovaSmallEncoder_resetEncoder(small_);
          expect(0x020C04C0 + kSmall, {});
          break;
        case 6: check(c_BrovaQuad_getCurrent(quad_, motor) == motor + 0.07, "quad current"); break;
        case 7: check(c_BrovaQuad_getRPM(quad_, motor) == motor + 256.0, "quad rpm"); break;
        case 8:
          check(c_BrovaQuadEncoder_getEncoderDistance(quad_, motor, 0.5, 0, nullptr) ==
                    (motor + 1) * 500.0,
                "quad encoder");
          break;
        case 9: check(c_BrovaQuad_getID(quad_) == kQuad, "quad id"); break;
        case 10:
          check(c_BrovaQuad_getSerialNumber(quad_) == "00000005-00000002-00000003", "quad serial");
          break;
        case 11:
          check(c_getRawValue(motor) == std::lround(300.0 * (motor + 1)), "analog raw");
          break;
        case 12:
          if (thread == 0) check(c_BrovaSmall_getCurrent(small_) == 7.0, "small current");
          break;
        case 13:
          if (thread == 1) {
            check(c_BrovaSmallEncoder_getEncoderDistance(small_, 1.0, 0, nullptr) == -1000.0,
                  "small encoder");
          }
          break;
        case 14:
          if (thread == 2) {
            check(c_BrovaSmall_getHardwareVersion(small_) == "Hardware: Brova Small, Version: 9",
                  "small hardware");
          }
          break;
        case 15:
          check(c_BrovaQuad_getFaults(quad_, motor) == 0 && !c_BrovaSmall_enableSoftLimit(small_) &&
                    c_BrovaQuad_getControllerTemp(quad_) == 30.05,
                "quad temperature and neutral values");
          break;
      }
    }
    std::lock_guard lock(expectedLock);
    for (const auto& [key, n] : mine) expected[key] += n;
  };

  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) threads.emplace_back(worker, t);
  for (auto& t : threads) t.join();

  std::map<FrameKey, int> onTheBus;
  for (const auto& f : sent()) {
    const uint32_t base = f.id & ~0x3Fu;
    const bool command =
        base == 0x020C0380 || base == 0x020C0340 || base == 0x020C0280 || base == 0x020C04C0;
    if (command) ++onTheBus[{f.id, f.data}];
  }
  EXPECT_EQ(onTheBus, expected);
  EXPECT_GT(queries.load(), 50);
  EXPECT_EQ(wrong.load(), 0) << (failures.empty() ? "" : failures.front());
  // Keep-alive tasks ran all along, for both controllers.
  EXPECT_GE(sent(0x020C0540 + kQuad).size(), 10u);
  EXPECT_GE(sent(0x020C0540 + kSmall).size(), 10u);
}

}  // namespace
}  // namespace brova::testing
