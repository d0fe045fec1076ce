// The simulated platform's records: off by default, so a long simulation stays flat, and bounded
// when on, keeping the latest entries.
#include <gtest/gtest.h>

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "brovasim/SimAnalogBoard.h"
#include "brovasim/SimCan.h"
#include "brovasim/SimI2C.h"
#include "support/Hal.h"

namespace brova::testing {
namespace {

constexpr uint32_t kBase = 0x020C0005;  // a device-id request to device 5; row i sends kBase + i

// Sends frames kBase + first .. kBase + first + count - 1, a receive and an initialisation and
// clean for each.
void callEach(uint32_t first, uint32_t count) {
  const uint8_t bytes[8] = {};
  for (uint32_t i = first; i < first + count; ++i) {
    hal::send(kBase + i, bytes, 8);
    hal::receive(kBase + i);
    int32_t status = 0;
    HAL_CleanCAN(hal::initializeCan(5, static_cast<int32_t>(i), 2, &status));
  }
}

std::vector<uint32_t> sentOffsets() {
  std::vector<uint32_t> offsets;
  for (const auto& frame : brovasim::can::sentFrames()) offsets.push_back(frame.id - kBase);
  return offsets;
}

std::vector<uint32_t> receivedOffsets() {
  std::vector<uint32_t> offsets;
  for (const auto& call : brovasim::can::receiveCalls()) offsets.push_back(call.id - kBase);
  return offsets;
}

std::vector<uint32_t> initializedOffsets() {
  std::vector<uint32_t> offsets;
  for (const auto& init : brovasim::can::initializations()) {
    offsets.push_back(static_cast<uint32_t>(init.deviceId));
  }
  return offsets;
}

TEST(SimRecords, StayEmptyUntilATestTurnsThemOn) {
  brovasim::can::reset();
  brovasim::i2c::reset();
  EXPECT_FALSE(brovasim::can::recording());
  EXPECT_FALSE(brovasim::i2c::recording());
  callEach(0, 100);
  auto board = brovasim::attachAnalogBoard();
  int32_t status = 0;
  HAL_InitializeI2C(hal::kI2CPort1, &status);
  const uint8_t config[3] = {0x01, 0xC3, 0x83};
  EXPECT_EQ(HAL_WriteI2C(hal::kI2CPort1, 0x48, config, 3), 3);  // the board works unrecorded
  EXPECT_TRUE(brovasim::can::sentFrames().empty());
  EXPECT_TRUE(brovasim::can::receiveCalls().empty());
  EXPECT_TRUE(brovasim::can::initializations().empty());
  EXPECT_TRUE(brovasim::can::cleanedHandles().empty());
  EXPECT_TRUE(brovasim::i2c::transfers().empty());
  EXPECT_TRUE(brovasim::can::openHandles().empty());  // the handles are kept either way

  brovasim::can::setRecording(true);
  brovasim::i2c::setRecording(true);
  callEach(100, 1);
  EXPECT_EQ(HAL_WriteI2C(hal::kI2CPort1, 0x48, config, 3), 3);
  EXPECT_EQ(sentOffsets(), std::vector<uint32_t>{100});
  EXPECT_EQ(brovasim::i2c::transfers().size(), 1u);

  // Off again keeps what was recorded; reset() forgets it and turns recording off.
  brovasim::can::setRecording(false);
  callEach(101, 1);
  EXPECT_EQ(sentOffsets(), std::vector<uint32_t>{100});
  brovasim::can::reset();
  brovasim::i2c::reset();
  EXPECT_FALSE(brovasim::can::recording());
  EXPECT_FALSE(brovasim::i2c::recording());
  EXPECT_TRUE(brovasim::can::sentFrames().empty());
  EXPECT_TRUE(brovasim::i2c::transfers().empty());
}

// With the default limit, more calls than it keep exactly the latest kRecordLimit of each.
TEST(SimRecords, DefaultLimitKeepsTheLatestEntries) {
  brovasim::can::reset();
  brovasim::can::setRecording(true);
  constexpr uint32_t kExtra = 10;
  callEach(0, static_cast<uint32_t>(brovasim::can::kRecordLimit) + kExtra);
  const auto sent = sentOffsets();
  ASSERT_EQ(sent.size(), brovasim::can::kRecordLimit);
  EXPECT_EQ(sent.front(), kExtra);
  EXPECT_EQ(sent.back(), brovasim::can::kRecordLimit + kExtra - 1);
  EXPECT_EQ(brovasim::can::receiveCalls().size(), brovasim::can::kRecordLimit);
  EXPECT_EQ(brovasim::can::initializations().size(), brovasim::can::kRecordLimit);
  EXPECT_EQ(brovasim::can::cleanedHandles().size(), brovasim::can::kRecordLimit);
  brovasim::can::reset();
}

struct LimitCase {
  const char* name;
  size_t limit;
  uint32_t calls;
  std::vector<uint32_t> kept;  // the offsets of the frames kept, oldest first
};

TEST(SimRecords, KeepTheLatestEntriesUpToTheLimit) {
  const std::vector<LimitCase> rows = {
      {"fewer than the limit: all kept", 5, 3, {0, 1, 2}},
      {"exactly the limit: all kept", 3, 3, {0, 1, 2}},
      {"one more: the oldest dropped", 3, 4, {1, 2, 3}},
      {"twice round and more: the latest kept, in order", 3, 8, {5, 6, 7}},
      {"a limit of one: the latest only", 1, 4, {3}},
      {"a limit of zero: nothing", 0, 4, {}},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    brovasim::can::reset();
    brovasim::can::setRecording(true);
    brovasim::can::setRecordLimit(row.limit);
    callEach(0, row.calls);
    EXPECT_EQ(sentOffsets(), row.kept);
    EXPECT_EQ(receivedOffsets(), row.kept);
    EXPECT_EQ(initializedOffsets(), row.kept);
    EXPECT_EQ(brovasim::can::cleanedHandles().size(), row.kept.size());
    // waitForSent sees the same entries, in the same order.
    std::vector<uint32_t> seen;
    EXPECT_TRUE(brovasim::can::waitForSent(
        [&](const std::vector<brovasim::SentFrame>& frames) {
          seen.clear();
          for (const auto& f : frames) seen.push_back(f.id - kBase);
          return true;
        },
        std::chrono::milliseconds(0)));
    EXPECT_EQ(seen, row.kept);
  }
  brovasim::can::reset();
}

TEST(SimRecords, LimitChangesKeepTheLatestAndResetRestoresTheDefault) {
  brovasim::can::reset();
  brovasim::can::setRecording(true);
  callEach(0, 5);
  brovasim::can::setRecordLimit(2);
  EXPECT_EQ(sentOffsets(), (std::vector<uint32_t>{3, 4}));
  callEach(5, 1);
  EXPECT_EQ(sentOffsets(), (std::vector<uint32_t>{4, 5}));
  brovasim::can::setRecordLimit(4);
  callEach(6, 3);
  EXPECT_EQ(sentOffsets(), (std::vector<uint32_t>{5, 6, 7, 8}));
  // clearSentFrames empties the record; it fills again up to its limit.
  brovasim::can::clearSentFrames();
  callEach(9, 5);
  EXPECT_EQ(sentOffsets(), (std::vector<uint32_t>{10, 11, 12, 13}));

  brovasim::can::reset();
  brovasim::can::setRecording(true);
  callEach(0, 5);
  EXPECT_EQ(sentOffsets().size(), 5u);  // the limit is kRecordLimit again
  brovasim::can::reset();
}

TEST(SimRecords, I2CTransfersKeepTheLatestUpToTheLimit) {
  brovasim::i2c::reset();
  brovasim::i2c::setRecording(true);
  brovasim::i2c::setRecordLimit(2);
  auto board = brovasim::attachAnalogBoard();
  int32_t status = 0;
  HAL_InitializeI2C(hal::kI2CPort1, &status);
  for (uint8_t pointer = 0; pointer < 4; ++pointer) {
    const uint8_t data[1] = {pointer};
    HAL_WriteI2C(hal::kI2CPort1, 0x48, data, 1);
  }
  const auto transfers = brovasim::i2c::transfers();
  ASSERT_EQ(transfers.size(), 2u);
  EXPECT_EQ(transfers[0].bytes, std::vector<uint8_t>{2});
  EXPECT_EQ(transfers[1].bytes, std::vector<uint8_t>{3});
  brovasim::i2c::reset();
  brovasim::i2c::setRecording(true);
  for (int i = 0; i < 3; ++i) HAL_WriteI2C(hal::kI2CPort1, 0x48, nullptr, 0);
  EXPECT_EQ(brovasim::i2c::transfers().size(), 3u);  // the limit is kRecordLimit again
  brovasim::i2c::reset();
}

}  // namespace
}  // namespace brova::testing
