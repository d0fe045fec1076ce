// The store behind HAL_CAN_ReceiveMessage: the latest frame per identifier, each returned once.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "FrameStore.h"

namespace brovasocketcan {
namespace {

constexpr uint32_t kFullMask = 0x1FFFFFFF;
constexpr uint32_t kApiAndTypeMask = 0x1FFFFFC0;  // any device number

Frame frame(uint32_t id, uint8_t marker) { return {.id = id, .data = {marker}, .size = 1}; }

struct TakeCase {
  std::string name;
  std::vector<Frame> kept;  // in the order received
  uint32_t id;
  uint32_t mask;
  std::optional<Frame> expected;
};

// Named in test listings by its name.
void PrintTo(const TakeCase& c, std::ostream* out) { *out << c.name; }

class FrameStoreTakes : public ::testing::TestWithParam<TakeCase> {};

TEST_P(FrameStoreTakes, TheLatestMatchingFrame) {
  const TakeCase& c = GetParam();
  FrameStore store;
  for (const Frame& f : c.kept) store.keep(f, 0);
  const auto taken = store.take(c.id, c.mask);
  ASSERT_EQ(taken.has_value(), c.expected.has_value());
  if (!taken) return;
  EXPECT_EQ(taken->frame.id, c.expected->id);
  EXPECT_EQ(taken->frame.data, c.expected->data);
  EXPECT_EQ(taken->frame.size, c.expected->size);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FrameStoreTakes,
    ::testing::Values(
        TakeCase{
            "ExactIdentifier", {frame(0x020C0045, 1)}, 0x020C0045, kFullMask, frame(0x020C0045, 1)},
        TakeCase{"NothingKept", {}, 0x020C0045, kFullMask, std::nullopt},
        TakeCase{"OnlyAnotherDevice", {frame(0x020C0046, 1)}, 0x020C0045, kFullMask, std::nullopt},
        TakeCase{"NewerFrameOfTheSameIdentifierReplacesOlder",
                 {frame(0x020C0045, 1), frame(0x020C0045, 2)},
                 0x020C0045,
                 kFullMask,
                 frame(0x020C0045, 2)},
        TakeCase{"MaskMatchesSeveralAndTheLastReceivedWins",
                 {frame(0x020C0047, 1), frame(0x020C0045, 2), frame(0x020C0046, 3)},
                 0x020C0040,
                 kApiAndTypeMask,
                 frame(0x020C0046, 3)},
        TakeCase{"NewerFrameOutsideTheMaskIsPassedOver",
                 {frame(0x020C0045, 1), frame(0x020C0085, 2)},
                 0x020C0040,
                 kApiAndTypeMask,
                 frame(0x020C0045, 1)},
        TakeCase{"BitsOutsideTheMaskOfTheAskedIdentifierDoNotMatter",
                 {frame(0x020C0045, 1)},
                 0x020C0045 | 0xE0000000,
                 kFullMask,
                 frame(0x020C0045, 1)},
        TakeCase{"ZeroMaskTakesTheLastFrameOfAll",
                 {frame(0x020C0045, 1), frame(0x01000001, 2)},
                 0x020C0045,
                 0,
                 frame(0x01000001, 2)}),
    [](const auto& info) { return info.param.name; });

TEST(FrameStore, TakenFrameIsNotReturnedAgain) {
  FrameStore store;
  store.keep(frame(0x020C0045, 1), 0);
  EXPECT_TRUE(store.take(0x020C0045, kFullMask));
  EXPECT_FALSE(store.take(0x020C0045, kFullMask));
}

TEST(FrameStore, FrameReceivedAfterATakeIsReturned) {
  FrameStore store;
  store.keep(frame(0x020C0045, 1), 0);
  store.take(0x020C0045, kFullMask);
  store.keep(frame(0x020C0045, 2), 0);
  const auto taken = store.take(0x020C0045, kFullMask);
  ASSERT_TRUE(taken);
  EXPECT_EQ(taken->frame.data[0], 2);
}

TEST(FrameStore, TakingOneIdentifierLeavesTheOthers) {
  FrameStore store;
  store.keep(frame(0x020C0045, 1), 0);
  store.keep(frame(0x020C0046, 2), 0);
  store.take(0x020C0045, kFullMask);
  EXPECT_EQ(store.size(), 1u);
  EXPECT_TRUE(store.take(0x020C0046, kFullMask));
}

TEST(FrameStore, KeepsOneFramePerIdentifier) {
  FrameStore store;
  for (uint8_t i = 0; i < 50; ++i) store.keep(frame(0x020C0045 + i % 5, i), 0);
  EXPECT_EQ(store.size(), 5u);
}

TEST(FrameStore, TakeReturnsTheTimeStampOfTheKeptFrame) {
  FrameStore store;
  store.keep(frame(0x020C0045, 1), 1234);
  store.keep(frame(0x020C0045, 2), 5678);
  const auto taken = store.take(0x020C0045, kFullMask);
  ASSERT_TRUE(taken);
  EXPECT_EQ(taken->arrivedUs, 5678u);
}

struct BoundCase {
  std::string name;
  size_t limit;
  std::vector<uint32_t> kept;   // identifiers in the order received
  std::vector<uint32_t> taken;  // taken in between: after all of `kept` but the last
  std::vector<uint32_t> left;   // what can still be taken
};

// Named in test listings by its name.
void PrintTo(const BoundCase& c, std::ostream* out) { *out << c.name; }

class FrameStoreBound : public ::testing::TestWithParam<BoundCase> {};

TEST_P(FrameStoreBound, KeepsTheNewestIdentifiersUpToTheLimit) {
  const BoundCase& c = GetParam();
  FrameStore store(c.limit);
  for (size_t i = 0; i + 1 < c.kept.size(); ++i) store.keep(frame(c.kept[i], 0), 0);
  for (uint32_t id : c.taken) EXPECT_TRUE(store.take(id, kFullMask)) << std::hex << id;
  store.keep(frame(c.kept.back(), 0), 0);
  EXPECT_EQ(store.size(), c.left.size());
  for (uint32_t id : c.left) EXPECT_TRUE(store.take(id, kFullMask)) << std::hex << id;
  EXPECT_EQ(store.size(), 0u);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FrameStoreBound,
    ::testing::Values(
        BoundCase{"UnderTheLimitAllStay", 3, {1, 2, 3}, {}, {1, 2, 3}},
        BoundCase{"OneOverDropsTheOldest", 3, {1, 2, 3, 4}, {}, {2, 3, 4}},
        BoundCase{"ANewerFrameOfAnIdentifierMakesItNewest", 3, {1, 2, 1, 3, 4}, {}, {1, 3, 4}},
        BoundCase{"TakenFramesFreeTheirPlace", 3, {1, 2, 3, 4}, {2}, {1, 3, 4}},
        BoundCase{"LimitOfOneKeepsTheLastFrame", 1, {1, 2, 3}, {}, {3}}),
    [](const auto& info) { return info.param.name; });

TEST(FrameStore, FloodOfDistinctIdentifiersStaysAtTheDefaultLimit) {
  FrameStore store;
  for (uint32_t i = 0; i < 20000; ++i) store.keep(frame(0x10000000 + i, 0), 0);
  EXPECT_EQ(store.size(), FrameStore::kDefaultLimit);
  // The newest frame of the flood is still there to be taken, the first is gone.
  EXPECT_TRUE(store.take(0x10000000 + 19999, kFullMask));
  EXPECT_FALSE(store.take(0x10000000, kFullMask));
}

}  // namespace
}  // namespace brovasocketcan
