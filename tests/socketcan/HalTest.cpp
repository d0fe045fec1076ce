// The SocketCAN platform's HAL functions, and the unchanged driver on top of them, over a socket
// pair standing in for the CAN interface.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <thread>

#include "BrovaDriver.h"
#include "brovasocketcan/Frame.h"
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
using brova::testing::hal::Received;
using brova::testing::hal::send;
constexpr uint32_t kKeepAliveInactive = 0x820C0505;
constexpr uint32_t kKeepAliveActive = 0x820C0545;
const std::vector<uint32_t> kKeepAlives = {kKeepAliveInactive, kKeepAliveActive};

// Receives until a frame comes (the reader runs on its own thread), or the timeout passes.
Received receiveWhenArrived(uint32_t id, uint32_t mask = kFullMask) {
  const auto end = Clock::now() + 2s;
  Received r;
  do {
    r = receive(id, mask);
    if (r.status == 0) return r;
    std::this_thread::sleep_for(1ms);
  } while (Clock::now() < end);
  return r;
}

class SocketCanPlatform : public ::testing::Test {
 protected:
  void SetUp() override {
    disable();
    attachSocket(pair_.release());
  }
  void TearDown() override {
    disable();
    // Joins the reader, which stopped when the socket pair hung up.
    close();
  }

  SocketPair pair_;
};

struct SendCase {
  std::string name;
  uint32_t id;
  uint8_t size;
  bool nullData;
  int32_t period;
  int32_t status;
  std::optional<WireFrame> wire;
};

// Named in test listings by its name.
void PrintTo(const SendCase& c, std::ostream* out) { *out << c.name; }

class SocketCanSend : public SocketCanPlatform, public ::testing::WithParamInterface<SendCase> {};

TEST_P(SocketCanSend, StatusAndWhatGoesOnTheWire) {
  const SendCase& c = GetParam();
  const uint8_t bytes[12] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};
  EXPECT_EQ(send(c.id, c.nullData ? nullptr : bytes, c.size, c.period), c.status);
  EXPECT_EQ(pair_.next(c.wire ? 2s : 100ms), c.wire);
  EXPECT_EQ(pair_.next(0ms), std::nullopt);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SocketCanSend,
    ::testing::Values(
        SendCase{"EightBytes", 0x020C0385, 8, false, 0, 0,
                 WireFrame{0x820C0385, {1, 2, 3, 4, 5, 6, 7, 8}}},
        SendCase{"ShortFrame", 0x020C0385, 3, false, 0, 0, WireFrame{0x820C0385, {1, 2, 3}}},
        SendCase{"OverLongIsCutToEight", 0x020C0385, 12, false, 0, 0,
                 WireFrame{0x820C0385, {1, 2, 3, 4, 5, 6, 7, 8}}},
        SendCase{"EmptyFrameNeedsNoData", 0x020C0385, 0, true, 0, 0, WireFrame{0x820C0385, {}}},
        SendCase{"ElevenBit", kStandardFrameFlag | 0x123, 2, false, 0, 0, WireFrame{0x123, {1, 2}}},
        SendCase{"RepeatingPeriodIsNotSupported", 0x020C0385, 8, false, 20,
                 kStatusPeriodNotSupported, std::nullopt},
        SendCase{"StopRepeatingIsNotSupported", 0x020C0385, 8, false,
                 -1 /* the HAL's stop-repeating period */, kStatusPeriodNotSupported, std::nullopt},
        SendCase{"MissingDataIsAnInvalidBuffer", 0x020C0385, 4, true, 0, kStatusInvalidBuffer,
                 std::nullopt}),
    [](const auto& info) { return info.param.name; });

TEST_F(SocketCanPlatform, SendToAVanishedBusReportsNegativeStatus) {
  pair_.closeBus();
  const uint8_t bytes[8] = {};
  EXPECT_LT(send(0x020C0505, bytes, 8), 0);
}

TEST_F(SocketCanPlatform, ReceiveWritesIdentifierDataSizeAndTimeStamp) {
  const uint64_t before = brova::testing::hal::timeStampNow();
  pair_.put(extended(0x020C0046), {9, 8, 7});
  const Received r = receiveWhenArrived(0x020C0046);
  ASSERT_EQ(r.status, 0);
  EXPECT_EQ(r.id, 0x020C0046u);
  EXPECT_EQ(r.size, 3);
  EXPECT_EQ(r.data, (std::array<uint8_t, 8>{9, 8, 7}));
  EXPECT_LE(brova::testing::hal::millisecondsBetween(before, r.timeStamp), 10000.0)
      << "the steady clock, within 10 s of the put";
}

TEST_F(SocketCanPlatform, ReceiveReturnsAFrameOnceThenReportsNotFound) {
  EXPECT_EQ(receive(0x020C0045).status, HAL_ERR_CANSessionMux_MessageNotFound);
  pair_.put(extended(0x020C0045), {5});
  EXPECT_EQ(receiveWhenArrived(0x020C0045).status, 0);
  EXPECT_EQ(receive(0x020C0045).status, HAL_ERR_CANSessionMux_MessageNotFound);
}

TEST_F(SocketCanPlatform, CloseReleasesTheSocketInUse) {
  close();
  EXPECT_TRUE(pair_.closedByPeer());
}

TEST_F(SocketCanPlatform, AttachingAnotherSocketReleasesTheFirst) {
  SocketPair second;
  attachSocket(second.release());
  EXPECT_TRUE(pair_.closedByPeer());
  const uint8_t bytes[1] = {7};
  EXPECT_EQ(send(0x020C0005, bytes, 1), 0);
  EXPECT_EQ(second.next(), (WireFrame{0x820C0005, {7}}));
}

TEST_F(SocketCanPlatform, HandlesAreConsecutive) {
  int32_t status = 1;
  const HAL_CANHandle first = brova::testing::hal::initializeCan(0, 5, 2, &status);
  EXPECT_EQ(status, 0);
  const HAL_CANHandle second = brova::testing::hal::initializeCan(0, 5, 2, &status);
  EXPECT_NE(first, brova::testing::hal::kInvalidHandle);
  EXPECT_EQ(second, first + 1);
  HAL_CleanCAN(first);
  HAL_CleanCAN(second);
}

TEST_F(SocketCanPlatform, SystemIsActiveOnlyWhileEnabled) {
  int32_t status = 1;
  EXPECT_FALSE(HAL_GetSystemActive(&status));
  EXPECT_EQ(status, 0);
  enableFor(1h);
  EXPECT_TRUE(HAL_GetSystemActive(&status));
  EXPECT_TRUE(enabled());
  enableFor(0ms);
  EXPECT_FALSE(HAL_GetSystemActive(&status));
}

// The driver, unchanged, puts the same bytes on the wire as on the simulated platform.
TEST_F(SocketCanPlatform, QuadFramesGoOnTheWireByteForByte) {
  const int32_t quad = c_BrovaQuad_create(5, 1000, nullptr, 2);
  ASSERT_NE(quad, 0);
  EXPECT_EQ(pair_.next(), (WireFrame{0x820C0285, {0x02, 0xE8, 0x03, 0, 0, 0, 0, 0}}));
  EXPECT_EQ(pair_.nextExcept({}), (WireFrame{kKeepAliveInactive, {0, 0, 0, 0, 0, 0, 0, 0}}));
  c_BrovaQuad_setMotorSpeed(quad, 1, 0.5);
  EXPECT_EQ(pair_.nextExcept(kKeepAlives), (WireFrame{0x820C0385, {1, 0x32, 1, 0, 0, 0, 0, 0}}));
  c_BrovaQuad_disableMotor(quad, 3);
  EXPECT_EQ(pair_.nextExcept(kKeepAlives), (WireFrame{0x820C0345, {3, 0, 0, 0, 0, 0, 0, 0}}));
  c_BrovaQuad_destroy(quad);
}

TEST_F(SocketCanPlatform, KeepAliveIsActiveWhileEnabledAndLapsesWithoutRenewal) {
  const int32_t quad = c_BrovaQuad_create(5, 1000, nullptr, 0);
  ASSERT_NE(quad, 0);
  ASSERT_EQ(pair_.nextExcept({}) /* configure */->canId, 0x820C0285u);
  ASSERT_EQ(pair_.next()->canId, kKeepAliveInactive);

  constexpr auto kLease = 400ms;
  const auto enabledAt = Clock::now();
  enableFor(kLease);
  // The first active frame within a few periods, then inactive ones once the lease ran out,
  // never before.
  ASSERT_EQ(pair_.nextExcept({kKeepAliveInactive}, 3s)->canId, kKeepAliveActive);
  ASSERT_EQ(pair_.nextExcept({kKeepAliveActive}, 5s)->canId, kKeepAliveInactive);
  EXPECT_GE(Clock::now() - enabledAt, kLease);
  c_BrovaQuad_destroy(quad);
}

struct QueryCase {
  std::string name;
  uint32_t replyId;
  std::vector<std::vector<uint8_t>> replies;  // on consecutive identifiers from replyId
  std::function<std::string(int32_t quad)> query;
  std::string expected;
  std::string whenMissing;
};

// Named in test listings by its name.
void PrintTo(const QueryCase& c, std::ostream* out) { *out << c.name; }

class SocketCanQuery : public SocketCanPlatform, public ::testing::WithParamInterface<QueryCase> {};

// A reply already on the bus when the query asks is taken once: the same query again finds
// nothing new.
TEST_P(SocketCanQuery, DecodesTheReplyOnceThenFindsItMissing) {
  const QueryCase& c = GetParam();
  const int32_t quad = c_BrovaQuad_create(5, 1000, nullptr, 0);
  ASSERT_NE(quad, 0);
  for (size_t i = 0; i < c.replies.size(); ++i) {
    pair_.put(extended(c.replyId + static_cast<uint32_t>(i) * 0x40), c.replies[i]);
  }
  // The reader keeps frames in the order they came: once the marker is kept, so are the replies.
  constexpr uint32_t kMarker = 0x01000001;
  pair_.put(extended(kMarker), {});
  ASSERT_EQ(receiveWhenArrived(kMarker).status, 0);

  EXPECT_EQ(c.query(quad), c.expected);
  EXPECT_EQ(c.query(quad), c.whenMissing);
  c_BrovaQuad_destroy(quad);
}

INSTANTIATE_TEST_SUITE_P(
    Replies, SocketCanQuery,
    ::testing::Values(QueryCase{"DeviceId",
                                0x020C0045,
                                {{42}},
                                [](int32_t q) { return std::to_string(c_BrovaQuad_getID(q)); },
                                "42",
                                "0"},
                      QueryCase{
                          "Current",
                          0x020C0405,
                          {{12, 34}},
                          [](int32_t q) { return std::to_string(c_BrovaQuad_getCurrent(q, 1)); },
                          "12.340000",
                          "0.000000"},
                      QueryCase{"Firmware",
                                0x020C00C5,
                                {{1, 4, 2}},
                                [](int32_t q) { return c_BrovaQuad_getFirmwareVersion(q); },
                                "Firmware Version: [1.4.2]",
                                "Firmware Version: [0.0.0]"},
                      QueryCase{"Serial",
                                0x020C01C5,
                                {{0x78, 0x56, 0x34, 0x12}, {0xF0, 0xDE, 0xBC, 0x9A}, {0x17, 0x05}},
                                [](int32_t q) { return c_BrovaQuad_getSerialNumber(q); },
                                "12345678-9ABCDEF0-00000517",
                                "00000000-00000000-00000000"}),
    [](const auto& info) { return info.param.name; });

TEST(SocketCanInterface, UnopenableInterfaceGivesOneLineAndNegativeStatuses) {
  setInterface("brovanone0");
  EXPECT_EQ(interfaceName(), "brovanone0");
  ::testing::internal::CaptureStderr();
  EXPECT_FALSE(open());
  int32_t status = 0;
  brova::testing::hal::initializeCan(0, 5, 2, &status);
  EXPECT_EQ(status, kStatusNotOpen);
  const uint8_t bytes[8] = {};
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(send(0x020C0505, bytes, 8), kStatusNotOpen);
    EXPECT_EQ(receive(0x020C0045).status, kStatusNotOpen);
  }
  const int32_t quad = c_BrovaQuad_create(5, 1000, nullptr, 0);
  c_BrovaQuad_setMotorSpeed(quad, 0, 0.5);
  c_BrovaQuad_destroy(quad);
  const std::string console = ::testing::internal::GetCapturedStderr();
  EXPECT_EQ(std::count(console.begin(), console.end(), '\n'), 1) << console;
  EXPECT_NE(console.find("cannot open CAN interface brovanone0"), std::string::npos) << console;

  // Naming an interface again tries again, and says so again when that fails too.
  setInterface("brovanone1");
  ::testing::internal::CaptureStderr();
  EXPECT_EQ(send(0x020C0505, bytes, 8), kStatusNotOpen);
  const std::string again = ::testing::internal::GetCapturedStderr();
  EXPECT_NE(again.find("brovanone1"), std::string::npos) << again;
}

// The only test of this program that touches I2C: the note is printed at the first transfer.
TEST(SocketCanI2C, TransfersFailWithOneNote) {
  ::testing::internal::CaptureStderr();
  int32_t status = 0;
  HAL_InitializeI2C(brova::testing::hal::kI2CPort1, &status);
  EXPECT_LT(status, 0);
  uint8_t buffer[2] = {};
  for (int i = 0; i < 3; ++i) {
    EXPECT_LT(HAL_WriteI2C(brova::testing::hal::kI2CPort1, 0x48, buffer, 2), 0);
    EXPECT_LT(HAL_ReadI2C(brova::testing::hal::kI2CPort1, 0x48, buffer, 2), 0);
  }
  HAL_CloseI2C(brova::testing::hal::kI2CPort1);
  const std::string console = ::testing::internal::GetCapturedStderr();
  EXPECT_EQ(std::count(console.begin(), console.end(), '\n'), 1) << console;
  EXPECT_NE(console.find("no I2C"), std::string::npos) << console;
}

}  // namespace
}  // namespace brovasocketcan
