// The bus capture in candump log format, and reading it back in the controllers' message names.
#include <cstdio>
#include <fstream>
#include <string>

#include "BrovaDriver.h"
#include "BrovaTools.h"
#include "brovasim/CandumpLog.h"
#include "support/SimTest.h"

namespace brova::testing {
namespace {

using brovasim::LoggedFrame;

TEST(CandumpLine, FormatsAndParsesTheCandumpLogLayout) {
  const struct {
    LoggedFrame frame;
    const char* line;
  } rows[] = {
      {{1700000000123456, "brova0", 0x020C0285, {0x02, 0xE8, 0x03, 0, 0, 0, 0, 0}},
       "(1700000000.123456) brova0 020C0285#02E8030000000000"},
      {{5, "vcan0", 0x020C0405, {0xAB}}, "(0.000005) vcan0 020C0405#AB"},
      {{1, "brova0", 0x1FFFFFFF, {}}, "(0.000001) brova0 1FFFFFFF#"},
  };
  for (const auto& row : rows) {
    EXPECT_EQ(brovasim::formatCandumpLine(row.frame), row.line);
    const auto parsed = brovasim::parseCandumpLine(row.line);
    ASSERT_TRUE(parsed.has_value()) << row.line;
    EXPECT_EQ(parsed->microseconds, row.frame.microseconds);
    EXPECT_EQ(parsed->interface, row.frame.interface);
    EXPECT_EQ(parsed->id, row.frame.id);
    EXPECT_EQ(parsed->data, row.frame.data);
  }
}

TEST(CandumpLine, RejectsWhatIsNotAFrame) {
  for (const char* line :
       {"", "hello", "(12.5) brova0", "(1.000001) brova0 020C0285", "(1.000001) brova0 020C0285#0",
        "(1.000001) brova0 020C0285#ZZ", "(1.000001) brova0 020C0285#000102030405060708",
        "(1.x) brova0 020C0285#00", "(1.000001)brova0 020C0285#00"}) {
    EXPECT_FALSE(brovasim::parseCandumpLine(line).has_value()) << line;
  }
  EXPECT_TRUE(brovasim::parseCandumpLine("(1.5) can0 123#11\r\n").has_value());
}

TEST(FrameDescription, NamesEachMessage) {
  const struct {
    uint32_t id;
    std::vector<uint8_t> data;
    const char* text;
  } rows[] = {
      {0x020C0385, {1, 50, 1, 0, 0, 0, 0, 0}, "dev 5  set motor speed  motor 1  +50%"},
      {0x020C0387, {0, 75, 0, 1}, "dev 7  set motor speed  motor 0  -75%"},
      {0x020C0385, {2, 0, 1, 1}, "dev 5  set motor speed  motor 2  0%"},
      {0x020C0385, {2, 0, 0, 0}, "dev 5  set motor speed  motor 2  NaN"},
      {0x020C0285, {2, 0xE8, 0x03}, "dev 5  configure motor  motor 2  1000 Hz"},
      {0x020C0345, {3}, "dev 5  disable motor  motor 3"},
      {0x020C0545, {}, "dev 5  keep-alive  active"},
      {0x020C0505, {}, "dev 5  keep-alive  not active"},
      {0x020C04C5, {1}, "dev 5  reset encoder  encoder 1"},
      {0x020C0485, {0xFF, 0xFF, 0xFF, 0xFF}, "dev 5  encoder count  -1"},
      {0x020C0405, {2, 50}, "dev 5  motor current  2.50 A"},
      {0x020C0685, {0xE8, 0x03}, "dev 5  motor rpm  1000"},
      {0x020C0605, {30, 5}, "dev 5  controller temp  30.05 C"},
      {0x020C00C5, {1, 2, 10}, "dev 5  Firmware Version: [1.2.10]"},
      {0x020C0205, {0xEF, 0xCD, 0xAB, 0}, "dev 5  serial word 2  00ABCDEF"},
      {0x020C0045, {5}, "dev 5  device id  5"},
      {0x020C0000, {}, "dev 0  device id request"},
      {0x020C0585, {9}, "dev 5  api 22  09"},
      {0x00000123, {0x11, 0x22}, "other  00000123#1122"},
  };
  for (const auto& row : rows) EXPECT_EQ(tools::describeFrame(row.id, row.data), row.text);
}

class Capture : public SimTest {
 protected:
  void TearDown() override {
    brovasim::capture::stop();
    std::remove(path_.c_str());
    SimTest::TearDown();
  }
  // One file a test: CTest runs tests in parallel.
  std::string path_ = ::testing::TempDir() + "brova-capture-" +
                      ::testing::UnitTest::GetInstance()->current_test_info()->name() + ".log";
};

// Everything the library sends and every reply a device puts on the bus is logged, in order,
// and reads back as the same frames.
TEST_F(Capture, LogRoundTripsTheFramesOfTheBus) {
  ASSERT_TRUE(brovasim::capture::start(path_));
  brovasim::can::putFrame(0x020C0405, {2, 50});
  const int32_t quad = c_BrovaQuad_create(5, 1000, nullptr, 2);
  c_BrovaQuad_setMotorSpeed(quad, 1, 0.5);
  c_BrovaQuad_destroy(quad);
  brovasim::capture::stop();

  std::ifstream file(path_);
  std::vector<LoggedFrame> logged;
  for (std::string line; std::getline(file, line);) {
    const auto frame = brovasim::parseCandumpLine(line);
    ASSERT_TRUE(frame.has_value()) << line;
    logged.push_back(*frame);
  }
  const auto sent = brovasim::can::sentFrames();
  ASSERT_EQ(logged.size(), sent.size() + 1);
  EXPECT_EQ(logged[0].id, 0x020C0405u);
  EXPECT_EQ(logged[0].data, (std::vector<uint8_t>{2, 50}));
  for (size_t i = 0; i < sent.size(); ++i) {
    EXPECT_EQ(logged[i + 1].id, sent[i].id);
    EXPECT_EQ(logged[i + 1].data, std::vector<uint8_t>(sent[i].data.begin(), sent[i].data.end()));
    EXPECT_EQ(logged[i + 1].interface, "brova0");
  }
  EXPECT_EQ(tools::describeFrame(logged[1].id, logged[1].data),
            "dev 5  configure motor  motor 2  1000 Hz");
}

TEST_F(Capture, NothingIsLoggedAfterStop) {
  ASSERT_TRUE(brovasim::capture::start(path_));
  brovasim::capture::stop();
  brovasim::can::putFrame(0x020C0405, {2, 50});
  std::ifstream file(path_);
  std::string line;
  EXPECT_FALSE(std::getline(file, line));
  EXPECT_FALSE(brovasim::capture::start("/nonexistent-dir/x.log"));
}

}  // namespace
}  // namespace brova::testing
