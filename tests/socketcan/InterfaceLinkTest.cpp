// The link to a named interface that comes back: socket pairs stand in for the interface's
// sockets, and the test decides when the interface can be opened.
#include <gtest/gtest.h>

#include <deque>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "InterfaceLink.h"
#include "support/SocketPair.h"

namespace brovasocketcan {
namespace {

using testing::extended;
using testing::SocketPair;
using testing::WireFrame;
using namespace std::chrono_literals;
using Clock = InterfaceLink::Clock;

constexpr uint32_t kFullMask = 0x1FFFFFFF;

class InterfaceLinkTest : public ::testing::Test {
 protected:
  // An interface link whose every open hands out a new socket pair while `present_`, and fails
  // as a missing interface does otherwise.
  InterfaceLink makeLink(Clock::duration retryInterval = 0ms) {
    return InterfaceLink(
        "vcan9", bus_,
        [this]() -> OpenedSocket {
          ++opens_;
          if (!present_) return {.error = "No such device"};
          pairs_.push_back(std::make_unique<SocketPair>());
          return {.fd = pairs_.back()->release(), .error = {}};
        },
        [this](const std::string& line) { lines_.push_back(line); }, retryInterval);
  }

  // Calls until the link differs from `old` (the reader noticed the hang-up) or 5 s pass.
  static std::shared_ptr<CanLink> currentOtherThan(InterfaceLink& link,
                                                   const std::shared_ptr<CanLink>& old) {
    const auto end = Clock::now() + 5s;
    std::shared_ptr<CanLink> now;
    do {
      now = link.current();
      if (now != old) return now;
      std::this_thread::sleep_for(1ms);
    } while (Clock::now() < end);
    return now;
  }

  int32_t bus_ = 0;
  bool present_ = true;
  int opens_ = 0;
  std::deque<std::unique_ptr<SocketPair>> pairs_;
  std::vector<std::string> lines_;
};

TEST_F(InterfaceLinkTest, LostSocketIsReplacedAndFramesFlowBothWaysAgain) {
  InterfaceLink link = makeLink();
  const auto first = link.current();
  ASSERT_TRUE(first);
  EXPECT_TRUE(lines_.empty());

  pairs_[0]->closeBus();
  const auto second = currentOtherThan(link, first);
  ASSERT_TRUE(second);
  EXPECT_EQ(lines_, (std::vector<std::string>{
                        "BrovaSocketCan: lost CAN interface vcan9; CAN calls fail until it is back",
                        "BrovaSocketCan: CAN interface vcan9 is open; CAN calls work again"}));

  EXPECT_EQ(second->send({.id = 0x020C0505, .data = {1}, .size = 1}), 0);
  EXPECT_EQ(pairs_[1]->next(), (WireFrame{0x820C0505, {1}}));
  pairs_[1]->put(extended(0x020C0045), {42});
  std::optional<ReceivedFrame> taken;
  for (const auto end = Clock::now() + 5s; !taken && Clock::now() < end;
       std::this_thread::sleep_for(1ms)) {
    taken = second->take(0x020C0045, kFullMask);
  }
  ASSERT_TRUE(taken);
  EXPECT_EQ(taken->frame.data[0], 42);
}

TEST_F(InterfaceLinkTest, WhileTheInterfaceIsGoneThereIsNoLinkAndOneLine) {
  InterfaceLink link = makeLink();
  const auto first = link.current();
  present_ = false;
  pairs_[0]->closeBus();
  EXPECT_EQ(currentOtherThan(link, first), nullptr);
  for (int i = 0; i < 5; ++i) EXPECT_EQ(link.current(), nullptr);
  EXPECT_EQ(lines_,
            (std::vector<std::string>{
                "BrovaSocketCan: lost CAN interface vcan9; CAN calls fail until it is back"}));

  present_ = true;
  EXPECT_TRUE(link.current());
  ASSERT_EQ(lines_.size(), 2u);
  EXPECT_EQ(lines_[1], "BrovaSocketCan: CAN interface vcan9 is open; CAN calls work again");
}

TEST_F(InterfaceLinkTest, InterfaceMissingAtFirstIsOpenedOnceItAppears) {
  present_ = false;
  InterfaceLink link = makeLink();
  EXPECT_EQ(link.current(), nullptr);
  EXPECT_EQ(link.current(), nullptr);
  ASSERT_EQ(lines_.size(), 1u);
  EXPECT_EQ(lines_[0],
            "BrovaSocketCan: cannot open CAN interface vcan9 (No such device); CAN calls fail "
            "until it can be opened (choose the interface with BROVA_CAN_INTERFACE)");
  present_ = true;
  EXPECT_TRUE(link.current());
  EXPECT_EQ(lines_.size(), 2u);
}

TEST_F(InterfaceLinkTest, LinesOfABusOtherThanZeroNameTheBus) {
  bus_ = 3;
  present_ = false;
  InterfaceLink link = makeLink();
  EXPECT_EQ(link.current(), nullptr);
  present_ = true;
  const auto first = link.current();
  ASSERT_TRUE(first);
  pairs_[0]->closeBus();
  currentOtherThan(link, first);
  EXPECT_EQ(lines_,
            (std::vector<std::string>{
                "BrovaSocketCan: cannot open CAN interface vcan9 of bus 3 (No such device); CAN "
                "calls on bus 3 fail until it can be opened (choose the interface with "
                "BROVA_CAN_INTERFACES)",
                "BrovaSocketCan: CAN interface vcan9 of bus 3 is open; CAN calls on bus 3 work "
                "again",
                "BrovaSocketCan: lost CAN interface vcan9 of bus 3; CAN calls on bus 3 fail until "
                "it is back",
                "BrovaSocketCan: CAN interface vcan9 of bus 3 is open; CAN calls on bus 3 work "
                "again"}));
}

// The clock is the caller's: these rows need no waiting.
struct RetryCase {
  std::string name;
  std::vector<Clock::duration> calls;  // when current() is called, from the first call
  int opens;                           // how many of those calls tried to open
};

// Named in test listings by its name.
void PrintTo(const RetryCase& c, std::ostream* out) { *out << c.name; }

class InterfaceLinkRetry : public InterfaceLinkTest,
                           public ::testing::WithParamInterface<RetryCase> {};

TEST_P(InterfaceLinkRetry, TriesAtMostOncePerInterval) {
  present_ = false;
  InterfaceLink link = makeLink(50ms);
  const auto start = Clock::now();
  for (const auto at : GetParam().calls) EXPECT_EQ(link.current(start + at), nullptr);
  EXPECT_EQ(opens_, GetParam().opens);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, InterfaceLinkRetry,
    ::testing::Values(RetryCase{"FirstCallTries", {0ms}, 1},
                      RetryCase{"CallsWithinTheIntervalDoNotTry", {0ms, 1ms, 20ms, 49ms}, 1},
                      RetryCase{"CallAtTheIntervalTriesAgain", {0ms, 49ms, 50ms}, 2},
                      RetryCase{"IntervalCountsFromTheLastTry", {0ms, 60ms, 100ms, 110ms}, 3}),
    [](const auto& info) { return info.param.name; });

}  // namespace
}  // namespace brovasocketcan
