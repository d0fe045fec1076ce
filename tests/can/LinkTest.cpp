#include <chrono>

#include "can/Identifiers.h"
#include "can/Link.h"
#include "support/SimTest.h"

namespace brova::can {
namespace {

using brova::testing::SimTest;
using Clock = std::chrono::steady_clock;

class Link : public SimTest {};

TEST_F(Link, SendAddsDeviceNumberAndSendsEightBytesOnce) {
  sendFrame(kSetMotorSpeed, {1, 0x32, 1, 0, 0, 0, 0, 9}, {.device = 5});
  const auto frames = sent();
  ASSERT_EQ(frames.size(), 1u);
  EXPECT_EQ(frames[0].id, 0x020C0385u);
  EXPECT_EQ(frames[0].size, 8);
  EXPECT_EQ(frames[0].periodMs, 0);
  EXPECT_EQ(frames[0].data, (Payload{1, 0x32, 1, 0, 0, 0, 0, 9}));
  // A classic frame on bus 0, where the HAL's send names a bus and carries flags.
  EXPECT_EQ(frames[0].flags, 0);
  EXPECT_EQ(frames[0].bus, 0);
}

// Every call names the address's bus where the HAL's calls name one. Where they name none, the
// robot's one bus is 0 and an address on another bus reaches nothing.
TEST_F(Link, EveryCallNamesTheAddressBus) {
  constexpr bool kBusesNamed = BROVA_HAL >= 2027;
  const Address onTwo{.bus = 2, .device = 5};
  brovasim::can::putFrame(0x020C0405, {1, 2}, kBusesNamed ? 2 : 0);
  int32_t status = 0;
  const int32_t handle = initializeDevice(onTwo, &status);
  sendFrame(kDisableMotor, {}, onTwo);
  Payload reply{};
  if constexpr (kBusesNamed) {
    EXPECT_EQ(status, 0);
    EXPECT_NE(handle, 0);
    ASSERT_EQ(brovasim::can::initializations().size(), 1u);
    EXPECT_EQ(brovasim::can::initializations()[0].bus, 2);
    ASSERT_EQ(sent().size(), 1u);
    EXPECT_EQ(sent()[0].bus, 2);
    EXPECT_FALSE(receiveFrame(kMotorCurrentReply, reply, {.bus = 0, .device = 5}));
    EXPECT_TRUE(receiveFrame(kMotorCurrentReply, reply, onTwo));
  } else {
    EXPECT_EQ(status, -1028);  // the HAL's PARAMETER_OUT_OF_RANGE
    EXPECT_EQ(handle, 0);
    EXPECT_TRUE(brovasim::can::initializations().empty());
    EXPECT_TRUE(sent().empty());
    EXPECT_FALSE(receiveFrame(kMotorCurrentReply, reply, onTwo));
    EXPECT_TRUE(receiveFrame(kMotorCurrentReply, reply, {.bus = 0, .device = 5}));
  }
}

TEST_F(Link, RejectedOrThrowingSendIsLostQuietly) {
  brovasim::can::failNextSends(-1);
  sendFrame(kDisableMotor, {}, {.device = 3});
  brovasim::can::throwOnNextSends();
  sendFrame(kDisableMotor, {}, {.device = 3});
  EXPECT_EQ(sent(0x020C0343).size(), 2u);
}

TEST_F(Link, ReceiveWithNothingOnTheBusLeavesBufferUntouched) {
  Payload reply{7, 7, 7, 7, 7, 7, 7, 7};
  EXPECT_FALSE(receiveFrame(kMotorCurrentReply, reply, {.device = 5}));
  EXPECT_EQ(reply, (Payload{7, 7, 7, 7, 7, 7, 7, 7}));
  const auto calls = brovasim::can::receiveCalls();
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_EQ(calls[0].id, 0x020C0405u);
  EXPECT_EQ(calls[0].mask, 0x1FFFFFFFu);
}

TEST_F(Link, ReceiveTakesOnlyTheExactIdentifier) {
  brovasim::can::putFrame(0x020C0406, {1, 2});
  Payload reply{};
  EXPECT_FALSE(receiveFrame(kMotorCurrentReply, reply, {.device = 5}));
  EXPECT_TRUE(receiveFrame(kMotorCurrentReply, reply, {.device = 6}));
}

// Every negative status is a frame not taken, even when the platform filled the buffer;
// zero and positive warnings come with the frame.
TEST_F(Link, ReceiveStatusDecidesWhetherAFrameWasTaken) {
  const struct {
    int32_t status;
    bool taken;
  } rows[] = {{-1154, false},     {-44087, false}, {-1, false},   {-44086, false},
              {INT32_MIN, false}, {0, true},       {44087, true}, {1, true}};
  for (const auto& row : rows) {
    brovasim::can::putFrame(0x020C0045, {9, 8, 7, 6, 5, 4, 3, 2});
    brovasim::can::failNextReceives(row.status);
    Payload reply{};
    EXPECT_EQ(receiveFrame(kDeviceIdReply, reply, {.device = 5}), row.taken) << "status " << row.status;
    const Payload expected = row.taken ? Payload{9, 8, 7, 6, 5, 4, 3, 2} : Payload{};
    EXPECT_EQ(reply, expected) << "status " << row.status;
  }
}

TEST_F(Link, ReceiveCopiesAtMostTheReportedSizeAndNeverMoreThanEight) {
  const struct {
    uint8_t size;
    Payload expected;
  } rows[] = {
      {0, {0xEE, 0xEE, 0xEE, 0xEE, 0xEE, 0xEE, 0xEE, 0xEE}},
      {3, {1, 2, 3, 0xEE, 0xEE, 0xEE, 0xEE, 0xEE}},
      {8, {1, 2, 3, 4, 5, 6, 7, 8}},
      {12, {1, 2, 3, 4, 5, 6, 7, 8}},
  };
  const uint8_t bytes[8] = {1, 2, 3, 4, 5, 6, 7, 8};
  for (const auto& row : rows) {
    brovasim::can::putFrame(0x020C0045, bytes, row.size);
    Payload reply;
    reply.fill(0xEE);
    EXPECT_TRUE(receiveFrame(kDeviceIdReply, reply, {.device = 5})) << "size " << int{row.size};
    EXPECT_EQ(reply, row.expected) << "size " << int{row.size};
  }
}

TEST_F(Link, ReceiveThatThrowsIsAFrameNotTaken) {
  brovasim::can::putFrame(0x020C0045, {1});
  brovasim::can::throwOnNextReceives();
  Payload reply{};
  EXPECT_FALSE(receiveFrame(kDeviceIdReply, reply, {.device = 5}));
  EXPECT_EQ(reply, Payload{});
}

}  // namespace
}  // namespace brova::can
