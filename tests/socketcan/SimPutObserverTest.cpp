// The simulated bus's put observers: what a bridge to another bus hears of the device models'
// replies.
#include <gtest/gtest.h>

#include <mutex>
#include <vector>

#include "brovasim/SimCan.h"
#include "support/Hal.h"

namespace brovasim {
namespace {

class SimPutObserver : public ::testing::Test {
 protected:
  void SetUp() override {
    can::reset();
    can::setRecording(true);
  }
  void TearDown() override { can::reset(); }

  // Subscribes an observer that records what it hears.
  int record() {
    return can::subscribePut([this](const PutFrame& frame) {
      std::lock_guard lock(mutex_);
      heard_.push_back(frame);
    });
  }
  std::vector<PutFrame> heard() {
    std::lock_guard lock(mutex_);
    return heard_;
  }

 private:
  std::mutex mutex_;
  std::vector<PutFrame> heard_;
};

TEST_F(SimPutObserver, HearsEveryFramePutInOrderWithItsBytes) {
  record();
  const auto before = Clock::now();
  can::putFrame(0x020C01C5, {1, 2, 3, 4});
  can::putFrame(0x020C0205, {5, 6});
  can::putFrame(0x020C0245, std::vector<uint8_t>{});
  const auto frames = heard();
  ASSERT_EQ(frames.size(), 3u);
  EXPECT_EQ(frames[0].id, 0x020C01C5u);
  EXPECT_EQ(frames[0].size, 4);
  EXPECT_EQ(frames[0].data, (std::array<uint8_t, 8>{1, 2, 3, 4}));
  EXPECT_EQ(frames[1].id, 0x020C0205u);
  EXPECT_EQ(frames[1].data, (std::array<uint8_t, 8>{5, 6}));
  EXPECT_EQ(frames[2].size, 0);
  EXPECT_GE(frames[0].time, before);
}

TEST_F(SimPutObserver, OverLongFrameKeepsItsSizeAndFirstEightBytes) {
  record();
  can::putFrame(0x020C0045, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10});
  const auto frames = heard();
  ASSERT_EQ(frames.size(), 1u);
  EXPECT_EQ(frames[0].size, 10);
  EXPECT_EQ(frames[0].data, (std::array<uint8_t, 8>{1, 2, 3, 4, 5, 6, 7, 8}));
}

TEST_F(SimPutObserver, FramesSentAreNotPutFrames) {
  record();
  const uint8_t bytes[8] = {};
  brova::testing::hal::send(0x020C0005, bytes, 8);
  EXPECT_TRUE(heard().empty());
}

TEST_F(SimPutObserver, UnsubscribedObserverHearsNothingMore) {
  const int subscription = record();
  can::putFrame(0x020C0045, {1});
  can::unsubscribePut(subscription);
  can::putFrame(0x020C0045, {2});
  EXPECT_EQ(heard().size(), 1u);
}

TEST_F(SimPutObserver, ResetForgetsObservers) {
  record();
  can::reset();
  can::putFrame(0x020C0045, {1});
  EXPECT_TRUE(heard().empty());
}

// A bridge answers from inside the observer; the bus must not be locked then.
TEST_F(SimPutObserver, ObserverMayUseTheBus) {
  std::vector<size_t> sentSeen;
  can::subscribePut([&](const PutFrame&) { sentSeen.push_back(can::sentFrames().size()); });
  can::putFrame(0x020C0045, {1});
  EXPECT_EQ(sentSeen, std::vector<size_t>{0});
}

}  // namespace
}  // namespace brovasim
