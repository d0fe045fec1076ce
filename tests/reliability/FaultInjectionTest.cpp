// Faults at every platform call: each gives its defined console line and result, nothing
// crashes, and the next operation works as usual.
#include <functional>
#include <limits>
#include <thread>

#include "BrovaDriver.h"
#include "brovasim/SimAnalogBoard.h"
#include "support/SimTest.h"

namespace brova::testing {
namespace {

constexpr int kQuad = 5;

class FaultInjection : public SimTest {
 protected:
  void SetUp() override {
    SimTest::SetUp();
    quad_ = c_BrovaQuad_create(kQuad, 1000, nullptr, 0);
  }
  void TearDown() override {
    c_BrovaQuad_destroy(quad_);
    SimTest::TearDown();
  }

  struct Outcome {
    double amps = 0.0;
    std::string line;
    double ampsNext = 0.0;  // of the same query again, with no new reply put
  };

  // The current query for motor 2 after `fault`, with the reply 01 32 kept on the bus.
  Outcome currentAfter(const std::function<void()>& fault) {
    brovasim::can::putFrame(0x020C0400 + kQuad, {1, 0x32});
    fault();
    captureConsole();
    Outcome outcome;
    outcome.amps = c_BrovaQuad_getCurrent(quad_, 2);
    outcome.line = console();
    captureConsole();
    outcome.ampsNext = c_BrovaQuad_getCurrent(quad_, 2);
    console();
    return outcome;
  }

  int32_t quad_ = 0;
};

// A receive that reports a status, injected or not, took the reply it came with, so the same
// query again finds none; a receive that throws took nothing.
TEST_F(FaultInjection, ReceiveFaultsAreMissingRepliesAndWarningsAreReplies) {
  const std::string missing = "Motor current could not be obtained for motor: 2\n";
  const struct {
    const char* name;
    std::function<void()> fault;
    double amps;
    std::string line;
    double ampsNext;
  } rows[] = {
      {"timed out -1154", [] { brovasim::can::failNextReceives(-1154); }, 0.0, missing, 0.0},
      {"not found -44087", [] { brovasim::can::failNextReceives(-44087); }, 0.0, missing, 0.0},
      {"other error -1", [] { brovasim::can::failNextReceives(-1); }, 0.0, missing, 0.0},
      {"lowest status",
       [] { brovasim::can::failNextReceives(std::numeric_limits<int32_t>::min()); }, 0.0, missing,
       0.0},
      {"throws", [] { brovasim::can::throwOnNextReceives(); }, 0.0, missing, 1.5},
      {"positive warning", [] { brovasim::can::failNextReceives(44087); }, 1.5, "", 0.0},
      {"short reply", [] { brovasim::can::putFrame(0x020C0400 + kQuad, {3}); }, 3.0, "", 0.0},
      {"over-long reply",
       [] {
         const uint8_t bytes[8] = {4, 0x19, 9, 9, 9, 9, 9, 9};
         brovasim::can::putFrame(0x020C0400 + kQuad, bytes, 12);
       },
       4.25, "", 0.0},
      {"empty reply", [] { brovasim::can::putFrame(0x020C0400 + kQuad, std::vector<uint8_t>{}); },
       0.0, "", 0.0},
      {"request send rejected", [] { brovasim::can::failNextSends(-1); }, 1.5, "", 0.0},
      {"request send throws", [] { brovasim::can::throwOnNextSends(); }, 1.5, "", 0.0},
      {"no fault", [] {}, 1.5, "", 0.0},
  };
  for (const auto& row : rows) {
    const Outcome outcome = currentAfter(row.fault);
    EXPECT_DOUBLE_EQ(outcome.amps, row.amps) << row.name;
    EXPECT_EQ(outcome.line, row.line) << row.name;
    EXPECT_DOUBLE_EQ(outcome.ampsNext, row.ampsNext) << row.name;
  }
}

TEST_F(FaultInjection, CommandsWithRejectedSendsPrintNothingAndTheNextOneArrives) {
  for (int32_t status : {-1, -44086, std::numeric_limits<int32_t>::min(), 1}) {
    brovasim::can::clearSentFrames();
    brovasim::can::failNextSends(status);
    captureConsole();
    c_BrovaQuad_setMotorSpeed(quad_, 1, 0.5);
    c_BrovaQuad_setMotorSpeed(quad_, 1, 0.25);
    EXPECT_EQ(console(), "") << status;
    const auto frames = sent(0x020C0380 + kQuad);
    ASSERT_EQ(frames.size(), 2u) << status;
    EXPECT_EQ(frames[1].data[1], 25) << status;
  }
}

TEST_F(FaultInjection, KeepAliveOutlivesThrowingAndFailingPlatformCalls) {
  brovasim::can::throwOnNextSends(3);
  brovasim::can::failNextSends(-1, 3);
  brovasim::can::clearSentFrames();
  ASSERT_TRUE(waitForFrames(0x020C0500 + kQuad, 5, 3s));
}

TEST_F(FaultInjection, InitialisationErrorStatusesStillOpenTheController) {
  for (int32_t status : {-1029, -1098, -104, 1}) {
    brovasim::can::clearSentFrames();
    brovasim::can::failNextInitializations(status);
    const int32_t handle = c_BrovaSmall_create(9, 500, nullptr);
    EXPECT_NE(handle, 0) << status;
    EXPECT_EQ(sent(0x020C0289).size(), 1u) << status;
    c_BrovaSmall_destroy(handle);
  }
}

TEST_F(FaultInjection, I2CTransferFailuresReadZeroAndTheNextReadingWorks) {
  auto board = brovasim::attachAnalogBoard();
  board->setInput(1, 1.0);
  captureConsole();
  ASSERT_TRUE(c_initializeI2C(5));
  for (int failures = 1; failures <= 3; ++failures) {
    brovasim::i2c::failNextTransfers(failures);
    // A failed configuration write or pointer write leaves the conversion of an earlier
    // reading; a failed read reads zero. Either way the value is one the board produced or 0.
    const int32_t raw = c_getRawValue(1);
    EXPECT_TRUE(raw == 0 || raw == 1000) << failures;
    EXPECT_EQ(c_getRawValue(1), 1000) << failures;
  }
  brovasim::i2c::failNextTransfers(1);
  EXPECT_FALSE(c_initializeI2C(5));
  EXPECT_EQ(console(), "I2C device is connected\nI2C device not connected\n");
}

}  // namespace
}  // namespace brova::testing
