// The SocketCAN platform's buses, each on a socket pair of its own: frames go to and come from
// the bus the call names, one bus's loss leaves the others alone, and a bus without an interface
// refuses every call.
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <thread>

#include "brovasocketcan/SocketCan.h"
#include "support/Hal.h"
#include "support/SocketPair.h"

namespace brovasocketcan {
namespace {

using testing::extended;
using testing::SocketPair;
using testing::WireFrame;
using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

using brova::testing::hal::kFullMask;
using brova::testing::hal::receive;
using brova::testing::hal::send;
constexpr uint32_t kRequest = 0x020C0005;  // a device-id request to device 5
constexpr uint32_t kReply = 0x020C0045;    // its reply
constexpr int32_t kNotFound = HAL_ERR_CANSessionMux_MessageNotFound;

// Whether `pair` carries a frame `canId` within `timeout`; other frames (the keep-alive of a
// controller another test left open) are passed over.
bool carries(const SocketPair& pair, uint32_t canId, std::chrono::milliseconds timeout) {
  const auto end = Clock::now() + timeout;
  for (auto left = timeout; left > 0ms;
       left = std::chrono::duration_cast<std::chrono::milliseconds>(end - Clock::now())) {
    const auto frame = pair.next(left);
    if (!frame) return false;
    if (frame->canId == canId) return true;
  }
  return false;
}

// Receives frame `id` on `bus` until it comes, or 2 s pass; the status.
int32_t receiveWhenArrived(uint32_t id, int32_t bus) {
  int32_t status = 0;
  for (const auto end = Clock::now() + 2s; Clock::now() < end; std::this_thread::sleep_for(1ms)) {
    status = receive(id, kFullMask, bus).status;
    if (status == 0) break;
  }
  return status;
}

class SocketCanBuses : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!brova::testing::hal::kCallsNameABus) GTEST_SKIP() << "the 2026 calls are all on bus 0";
    attachSocket(0, zero_.release());
    attachSocket(1, one_.release());
  }
  void TearDown() override {
    close(0);
    close(1);
  }

  SocketPair zero_;
  SocketPair one_;
};

TEST_F(SocketCanBuses, FramesGoToAndComeFromTheBusNamedOnly) {
  const uint8_t bytes[1] = {7};
  EXPECT_EQ(send(kRequest, bytes, 1, 0, 1), 0);
  EXPECT_EQ(one_.next(), (WireFrame{extended(kRequest), {7}}));
  EXPECT_FALSE(carries(zero_, extended(kRequest), 100ms));
  EXPECT_EQ(send(kRequest, bytes, 1, 0, 0), 0);
  EXPECT_TRUE(carries(zero_, extended(kRequest), 2s));
  EXPECT_EQ(one_.next(100ms), std::nullopt);

  one_.put(extended(kReply), {5});
  // Bus 0 never finds bus 1's frame, however long its reader takes; bus 1 does.
  for (int i = 0; i < 20; ++i, std::this_thread::sleep_for(5ms)) {
    ASSERT_EQ(receive(kReply, kFullMask, 0).status, kNotFound);
  }
  EXPECT_EQ(receiveWhenArrived(kReply, 1), 0);
}

TEST_F(SocketCanBuses, LosingOneBusLeavesTheOtherAlone) {
  one_.closeBus();
  const uint8_t bytes[1] = {7};
  EXPECT_LT(send(kRequest, bytes, 1, 0, 1), 0);
  EXPECT_EQ(send(kRequest, bytes, 1, 0, 0), 0);
  EXPECT_TRUE(carries(zero_, extended(kRequest), 2s));
  zero_.put(extended(kReply), {5});
  EXPECT_EQ(receiveWhenArrived(kReply, 0), 0);
}

TEST(SocketCanBus, WithoutAnInterfaceEveryCallIsRefusedAndNoHandleGiven) {
  if (!brova::testing::hal::kCallsNameABus) GTEST_SKIP() << "the 2026 calls are all on bus 0";
  const uint8_t bytes[1] = {7};
  for (const int32_t bus : {3, -1}) {
    SCOPED_TRACE(bus);
    int32_t status = 0;
    EXPECT_EQ(brova::testing::hal::initializeCan(12, 5, 2, &status, bus),
              brova::testing::hal::kInvalidHandle);
    EXPECT_EQ(status, kStatusNoInterface);
    EXPECT_EQ(send(kRequest, bytes, 1, 0, bus), kStatusNoInterface);
    EXPECT_EQ(receive(kReply, kFullMask, bus).status, kStatusNoInterface);
  }
  EXPECT_EQ(interfaceName(3), "");
  EXPECT_FALSE(open(3));

  // An interface named for the bus that cannot be opened: a handle, one line naming the bus.
  setInterface(3, "brovanone3");
  ::testing::internal::CaptureStderr();
  int32_t status = 0;
  EXPECT_NE(brova::testing::hal::initializeCan(12, 5, 2, &status, 3),
            brova::testing::hal::kInvalidHandle);
  EXPECT_EQ(status, kStatusNotOpen);
  EXPECT_EQ(send(kRequest, bytes, 1, 0, 3), kStatusNotOpen);
  const std::string console = ::testing::internal::GetCapturedStderr();
  EXPECT_NE(console.find("cannot open CAN interface brovanone3 of bus 3"), std::string::npos)
      << console;

  setInterface(3, "");
  EXPECT_EQ(send(kRequest, bytes, 1, 0, 3), kStatusNoInterface);
  EXPECT_THROW(setInterface(-1, "vcan0"), std::out_of_range);
}

}  // namespace
}  // namespace brovasocketcan
