// The link over a socket pair standing in for a raw CAN socket: what it writes, what its reader
// keeps, and how a failed write shows.
#include <gtest/gtest.h>

#include <thread>

#include "CanLink.h"
#include "support/SocketPair.h"

namespace brovasocketcan {
namespace {

using testing::extended;
using testing::SocketPair;
using testing::WireFrame;
using namespace std::chrono_literals;

constexpr uint32_t kFullMask = 0x1FFFFFFF;

// Waits for the reader to keep a frame with identifier `id`, and takes it.
std::optional<ReceivedFrame> takeWhenArrived(CanLink& link, uint32_t id,
                                             std::chrono::milliseconds timeout = 2s) {
  const auto end = std::chrono::steady_clock::now() + timeout;
  do {
    if (auto frame = link.take(id, kFullMask)) return frame;
    std::this_thread::sleep_for(1ms);
  } while (std::chrono::steady_clock::now() < end);
  return std::nullopt;
}

TEST(CanLink, SendWritesOneExtendedFrameWithExactlyTheGivenBytes) {
  SocketPair pair;
  CanLink link(pair.release());
  EXPECT_EQ(link.send({.id = 0x020C0385, .data = {1, 0x32, 1, 0, 0, 0, 0, 9}, .size = 8}), 0);
  EXPECT_EQ(link.send({.id = 0x020C0005, .data = {7, 8}, .size = 2}), 0);
  EXPECT_EQ(pair.next(), (WireFrame{0x820C0385, {1, 0x32, 1, 0, 0, 0, 0, 9}}));
  EXPECT_EQ(pair.next(), (WireFrame{0x820C0005, {7, 8}}));
  EXPECT_EQ(pair.next(0ms), std::nullopt);
}

TEST(CanLink, FrameFromTheBusIsTakenOnce) {
  SocketPair pair;
  CanLink link(pair.release());
  pair.put(extended(0x020C0045), {5, 0, 0, 0, 0, 0, 0, 0});
  const auto taken = takeWhenArrived(link, 0x020C0045);
  ASSERT_TRUE(taken);
  EXPECT_EQ(taken->frame.data[0], 5);
  EXPECT_EQ(taken->frame.size, 8);
  EXPECT_EQ(link.take(0x020C0045, kFullMask), std::nullopt);
}

TEST(CanLink, LatestFrameOfAnIdentifierWins) {
  SocketPair pair;
  CanLink link(pair.release());
  pair.put(extended(0x020C0045), {1});
  pair.put(extended(0x020C0045), {2});
  // The reader keeps frames in the order they came: once the marker is kept, so are both.
  pair.put(extended(0x020C0046), {9});
  ASSERT_TRUE(takeWhenArrived(link, 0x020C0046));
  const auto taken = link.take(0x020C0045, kFullMask);
  ASSERT_TRUE(taken);
  EXPECT_EQ(taken->frame.data[0], 2);
  EXPECT_EQ(link.take(0x020C0045, kFullMask), std::nullopt);
}

TEST(CanLink, TimeStampIsWhenTheFrameArrived) {
  SocketPair pair;
  CanLink link(pair.release());
  const uint64_t before = steadyMicroseconds();
  pair.put(extended(0x020C0045), {1});
  const auto taken = takeWhenArrived(link, 0x020C0045);
  const uint64_t after = steadyMicroseconds();
  ASSERT_TRUE(taken);
  EXPECT_GE(taken->arrivedUs, before);
  EXPECT_LE(taken->arrivedUs, after);
}

TEST(CanLink, WriteThatFailsReportsNegativeErrno) {
  SocketPair pair;
  CanLink link(pair.release());
  pair.closeBus();
  EXPECT_EQ(link.send({.id = 0x020C0505, .size = 8}), -EPIPE);
}

TEST(CanLink, PeerHangingUpMarksTheLinkLost) {
  SocketPair pair;
  CanLink link(pair.release());
  EXPECT_FALSE(link.lost());
  pair.closeBus();
  const auto end = std::chrono::steady_clock::now() + 5s;
  while (!link.lost() && std::chrono::steady_clock::now() < end) std::this_thread::sleep_for(1ms);
  EXPECT_TRUE(link.lost());
}

// A bus where nothing takes the frames (nothing acknowledges, the transmit queue fills): writes
// fail at once with the kernel's status and never wait, and the link is not lost for it.
TEST(CanLink, BusThatTakesNothingMakesWritesFailWithoutWaiting) {
  SocketPair pair;  // its bus side never reads
  CanLink link(pair.release());
  const Frame keepAlive{.id = 0x020C0505, .size = 8};
  int32_t status = 0;
  for (int i = 0; i < 100000 && status == 0; ++i) status = link.send(keepAlive);
  EXPECT_TRUE(status == -EAGAIN || status == -ENOBUFS) << status;
  EXPECT_EQ(link.send(keepAlive), status);
  EXPECT_FALSE(link.lost());
}

TEST(CanLink, DestroyingTheLinkStopsAReaderThatWaits) {
  SocketPair pair;
  const auto start = std::chrono::steady_clock::now();
  { CanLink link(pair.release()); }
  // Joining a reader that never woke would hang here; a generous bound tells the two apart.
  EXPECT_LT(std::chrono::steady_clock::now() - start, 5s);
}

}  // namespace
}  // namespace brovasocketcan
