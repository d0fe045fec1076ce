// The analog board through the exported functions, against a simulated converter.
#include <thread>

#include "BrovaDriver.h"
#include "brovasim/SimAnalogBoard.h"
#include "support/Hal.h"
#include "support/SimTest.h"

namespace brova::testing {
namespace {

using brovasim::I2CTransfer;
using Kind = brovasim::I2CTransfer::Kind;

class AnalogBoard : public SimTest {
 protected:
  void SetUp() override {
    SimTest::SetUp();
    board_ = brovasim::attachAnalogBoard();
  }

  bool initialize(int32_t fullScale) {
    captureConsole();
    const bool answered = c_initializeI2C(fullScale);
    console();
    brovasim::i2c::clearTransfers();
    return answered;
  }

  std::shared_ptr<brovasim::SimAnalogBoard> board_;
};

TEST_F(AnalogBoard, ProbeReportsWhetherTheBoardAnswers) {
  const struct {
    const char* name;
    std::function<void(brovasim::SimAnalogBoard&)> arrange;
    bool answered;
    const char* line;
  } rows[] = {
      {"present", [](auto&) {}, true, "I2C device is connected\n"},
      {"not present", [](auto& b) { b.setPresent(false); }, false, "I2C device not connected\n"},
      {"no device at 0x48", [](auto&) { brovasim::i2c::detach(1, 0x48); }, false,
       "I2C device not connected\n"},
  };
  for (const auto& row : rows) {
    SetUp();
    row.arrange(*board_);
    captureConsole();
    EXPECT_EQ(c_initializeI2C(5), row.answered) << row.name;
    EXPECT_EQ(console(), row.line) << row.name;
    // The port is opened whatever the probe found, and the probe is a one-byte read.
    EXPECT_TRUE(brovasim::i2c::isOpen(1)) << row.name;
    const auto transfers = brovasim::i2c::transfers();
    ASSERT_EQ(transfers.size(), 1u) << row.name;
    EXPECT_EQ(transfers[0].kind, Kind::Read);
    EXPECT_EQ(transfers[0].port, 1);
    EXPECT_EQ(transfers[0].address, 0x48);
  }
}

TEST_F(AnalogBoard, AReadingIsConfigWriteThenPointerWriteThenTwoByteRead) {
  ASSERT_TRUE(initialize(5));
  const uint8_t configs[4][2] = {{0xC4, 0x80}, {0xD4, 0x80}, {0xE4, 0x80}, {0xF4, 0x80}};
  for (uint8_t channel = 0; channel < 4; ++channel) {
    brovasim::i2c::clearTransfers();
    c_getRawValue(channel);
    const auto transfers = brovasim::i2c::transfers();
    ASSERT_EQ(transfers.size(), 3u);
    EXPECT_EQ(transfers[0].kind, Kind::Write);
    EXPECT_EQ(transfers[0].bytes,
              (std::vector<uint8_t>{0x01, configs[channel][0], configs[channel][1]}));
    EXPECT_EQ(transfers[1].kind, Kind::Write);
    EXPECT_EQ(transfers[1].bytes, (std::vector<uint8_t>{0x00, 0x00}));
    EXPECT_EQ(transfers[2].kind, Kind::Read);
    EXPECT_EQ(transfers[2].bytes.size(), 2u);
    for (const auto& t : transfers) {
      EXPECT_EQ(t.port, 1);
      EXPECT_EQ(t.address, 0x48);
    }
  }
}

TEST_F(AnalogBoard, AReadingWaitsForTheConversion) {
  ASSERT_TRUE(initialize(5));
  const auto start = std::chrono::steady_clock::now();
  c_getRawValue(0);
  EXPECT_GE(std::chrono::steady_clock::now() - start, 1ms);
}

TEST_F(AnalogBoard, InputsReadAsCountsAndVolts) {
  ASSERT_TRUE(initialize(5));
  const struct {
    double input;
    int32_t raw;
    float volts;
  } rows[] = {
      {1.0, 1000, 1000 * (5.0f / 2048.0f)},
      {0.0, 0, 0.0f},
      {2.047, 2047, 4.99755859375f},
      {3.3, 2047, 4.99755859375f},  // beyond the ±2.048 V range: clamped
      {-0.01, 0, 0.0f},             // below ground reads 0, not a value near full scale
      {-5.0, 0, 0.0f},
  };
  for (const auto& row : rows) {
    board_->setInput(3, row.input);
    EXPECT_EQ(c_getRawValue(3), row.raw) << row.input;
    EXPECT_EQ(c_getVoltage(3), row.volts) << row.input;
  }
}

TEST_F(AnalogBoard, InputsFollowASignalOfTime) {
  ASSERT_TRUE(initialize(5));
  // 0.1 V at the start, rising 1 V a second.
  board_->setInputSignal(2, [](double seconds) { return 0.1 + seconds; });
  const int32_t early = c_getRawValue(2);
  std::this_thread::sleep_for(200ms);
  const int32_t later = c_getRawValue(2);
  EXPECT_GE(early, 100);
  EXPECT_GE(later - early, 190);  // at least 0.19 V later: 1000 counts a volt
}

TEST_F(AnalogBoard, ChannelsAbove3ReadZeroWithoutTraffic) {
  ASSERT_TRUE(initialize(5));
  board_->setInput(0, 1.0);
  captureConsole();
  EXPECT_EQ(c_getRawValue(4), 0);
  EXPECT_EQ(c_getVoltage(255), 0.0f);
  EXPECT_EQ(console(), "");
  EXPECT_TRUE(brovasim::i2c::transfers().empty());
}

TEST_F(AnalogBoard, FailedTransfersReadZero) {
  ASSERT_TRUE(initialize(5));
  board_->setInput(1, 1.0);
  c_getRawValue(1);
  board_->setPresent(false);
  captureConsole();
  EXPECT_EQ(c_getRawValue(1), 0);
  EXPECT_EQ(c_getVoltage(1), 0.0f);
  EXPECT_EQ(console(), "");
  board_->setPresent(true);
  brovasim::i2c::failNextTransfers(3);
  EXPECT_EQ(c_getRawValue(1), 0);
}

TEST_F(AnalogBoard, ReinitialisingRescalesAndReopens) {
  board_->setInput(0, 1.024);
  ASSERT_TRUE(initialize(5));
  EXPECT_EQ(c_getVoltage(0), 2.5f);
  ASSERT_TRUE(initialize(3));
  EXPECT_EQ(c_getVoltage(0), 1.5f);
  EXPECT_EQ(brovasim::i2c::timesOpened(1), 2);
}

TEST_F(AnalogBoard, CloseClosesThePortAndKeepsTheConfiguration) {
  ASSERT_TRUE(initialize(5));
  c_closeI2C();
  EXPECT_FALSE(brovasim::i2c::isOpen(1));
  EXPECT_EQ(brovasim::i2c::timesClosed(1), 1);
  EXPECT_EQ(c_getRawValue(0), 0);  // transfers on a closed port fail
  int32_t status = 0;
  HAL_InitializeI2C(brova::testing::hal::kI2CPort1, &status);
  board_->setInput(0, 1.024);
  EXPECT_EQ(c_getVoltage(0), 2.5f);  // full scale 5 V kept
}

// Readings from several threads must each read the conversion they started.
TEST_F(AnalogBoard, ConcurrentReadingsEachGetTheirOwnChannel) {
  ASSERT_TRUE(initialize(5));
  const int32_t expected[4] = {100, 700, 1300, 1900};
  for (int channel = 0; channel < 4; ++channel)
    board_->setInput(channel, expected[channel] / 1000.0);
  std::vector<std::thread> threads;
  std::vector<int> wrong(4, 0);
  for (uint8_t channel = 0; channel < 4; ++channel) {
    threads.emplace_back([&, channel] {
      for (int i = 0; i < 10; ++i) wrong[channel] += c_getRawValue(channel) != expected[channel];
    });
  }
  for (auto& t : threads) t.join();
  EXPECT_EQ(wrong, (std::vector<int>{0, 0, 0, 0}));
}

}  // namespace
}  // namespace brova::testing
