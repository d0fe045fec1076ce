// The analog board object over a simulated board whose transfers fail: its readings go missing,
// never a fresh 0 V, and whether it is connected follows its answers, the probe at open, the
// telemetry and the blocking reads alike.
#include <chrono>
#include <functional>
#include <limits>
#include <string>
#include <thread>

#include "BrovaDriver.hpp"
#include "brovasim/SimAnalogBoard.h"
#include "brovasim/SimI2C.h"
#include "support/SimTest.h"

namespace brova::testing {
namespace {

using namespace std::chrono_literals;

constexpr int kEveryTransfer = std::numeric_limits<int>::max();
// Deliberately literal: the console lines as a robot programmer reads them.
constexpr const char* kNotAnswering =
    "Ferux analog board is not answering; its readings are missing until it does";
constexpr const char* kAnswersAgain = "Ferux analog board answers again";

class FeruxObject : public SimTest {
 protected:
  void SetUp() override {
    SimTest::SetUp();
    captureConsole();
  }
  void TearDown() override {
    brovasim::i2c::failNextTransfers(0);
    SimTest::TearDown();
  }
};

// Whether `condition` holds within a generous time.
bool eventually(const std::function<bool()>& condition) {
  const auto until = std::chrono::steady_clock::now() + 10s;
  while (!condition()) {
    if (std::chrono::steady_clock::now() > until) return false;
    std::this_thread::sleep_for(2ms);
  }
  return true;
}

int occurrences(const std::string& text, const std::string& line) {
  int count = 0;
  for (auto at = text.find(line); at != std::string::npos; at = text.find(line, at + 1)) ++count;
  return count;
}

bool everyInput(const Ferux& ferux, ReadingState state) {
  for (int channel = 0; channel < Ferux::kChannels; ++channel) {
    if (ferux.getVoltage(channel).state != state) return false;
  }
  return true;
}

TEST_F(FeruxObject, FailingTransfersLeaveTheReadingsMissingUntilTheBoardAnswersAgain) {
  auto board = brovasim::attachAnalogBoard();
  board->setInput(2, 1.024);  // 1024 counts: 2.5 V at 5 V full scale
  Ferux ferux(5);
  ferux.startTelemetry(5ms);
  ASSERT_TRUE(eventually([&] { return everyInput(ferux, ReadingState::Fresh); }));
  EXPECT_EQ(ferux.getVoltage(2).value, 2.5);
  EXPECT_EQ(ferux.getRaw(2).value, 1024);

  brovasim::i2c::failNextTransfers(kEveryTransfer);
  ASSERT_TRUE(eventually([&] { return everyInput(ferux, ReadingState::Missing); }));
  EXPECT_FALSE(ferux.isConnected());
  const Reading kept = ferux.getVoltage(2);
  EXPECT_EQ(kept.value, 2.5) << "the last answer, not the zeros of a failed read";
  EXPECT_TRUE(kept.present());
  EXPECT_EQ(ferux.getVoltageBlocking(2), 0.0);
  EXPECT_EQ(ferux.getRawBlocking(2), 0);

  brovasim::i2c::failNextTransfers(0);
  ASSERT_TRUE(eventually([&] { return everyInput(ferux, ReadingState::Fresh); }));
  EXPECT_TRUE(ferux.isConnected());
  EXPECT_EQ(ferux.getVoltage(2).value, 2.5);

  ferux.stopTelemetry();
  EXPECT_TRUE(everyInput(ferux, ReadingState::Stale));
  EXPECT_EQ(ferux.getVoltage(2).value, 2.5);
  ferux.close();
  const std::string printed = console();
  EXPECT_EQ(occurrences(printed, kNotAnswering), 1) << printed;
  EXPECT_EQ(occurrences(printed, kAnswersAgain), 1) << printed;
}

TEST_F(FeruxObject, TheProbeAndBlockingReadsTellWhetherTheBoardAnswers) {
  Ferux ferux(5);  // no board at 0x48: the probe goes unanswered
  EXPECT_FALSE(ferux.isConnected());
  auto board = brovasim::attachAnalogBoard();
  board->setInput(1, 1.024);
  EXPECT_EQ(ferux.getRawBlocking(1), 1024);
  EXPECT_TRUE(ferux.isConnected());
  brovasim::i2c::failNextTransfers(kEveryTransfer);
  // Each row: a blocking read that fails, and whether the board still counts as connected.
  for (const bool connectedAfter : {true, true, false, false}) {
    EXPECT_EQ(ferux.getVoltageBlocking(1), 0.0);
    EXPECT_EQ(ferux.isConnected(), connectedAfter);
  }
  brovasim::i2c::failNextTransfers(0);
  EXPECT_EQ(ferux.getRawBlocking(1), 1024);
  EXPECT_TRUE(ferux.isConnected());
  const std::string printed = console();
  EXPECT_EQ(occurrences(printed, kNotAnswering), 1) << printed;
  EXPECT_EQ(occurrences(printed, kAnswersAgain), 1) << printed;
}

}  // namespace
}  // namespace brova::testing
