// The platform's identifiers and the kernel's can_frame, both ways.
#include <gtest/gtest.h>
#include <linux/can/error.h>

#include <optional>
#include <string>

#include "brovasocketcan/Frame.h"

namespace brovasocketcan {
namespace {

struct OutCase {
  std::string name;
  uint32_t halId;
  uint8_t size;
  uint32_t canId;
  uint8_t len;
};

// Named in test listings by its name.
void PrintTo(const OutCase& c, std::ostream* out) { *out << c.name; }

class FrameToKernel : public ::testing::TestWithParam<OutCase> {};

TEST_P(FrameToKernel, IdentifierFlagsAndLength) {
  const OutCase& c = GetParam();
  Frame frame{.id = c.halId, .data = {1, 2, 3, 4, 5, 6, 7, 8}, .size = c.size};
  const can_frame out = toCanFrame(frame);
  EXPECT_EQ(out.can_id, c.canId) << std::hex << out.can_id;
  ASSERT_EQ(out.len, c.len);
  for (uint8_t i = 0; i < 8; ++i) EXPECT_EQ(out.data[i], i < c.len ? i + 1 : 0) << int(i);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FrameToKernel,
    ::testing::Values(
        OutCase{"ExtendedByDefault", 0x020C0285, 8, 0x820C0285, 8},
        OutCase{"ShortFrameKeepsItsLength", 0x020C0285, 3, 0x820C0285, 3},
        OutCase{"EmptyFrame", 0x020C0285, 0, 0x820C0285, 0},
        OutCase{"LongerThanEightIsCut", 0x020C0285, 12, 0x820C0285, 8},
        OutCase{"HighestExtendedIdentifier", 0x1FFFFFFF, 8, 0x9FFFFFFF, 8},
        // Bit 29 is the kernel's error-frame flag: it must never leak from an identifier.
        OutCase{"BitsAbove29AreNotSent", 0x20000001, 1, 0x80000001, 1},
        OutCase{"ElevenBitWhenAsked", kStandardFrameFlag | 0x123, 2, 0x123, 2},
        OutCase{"RemoteWhenAsked", kRemoteFrameFlag | 0x020C0285, 0, 0xC20C0285, 0}),
    [](const auto& info) { return info.param.name; });

struct InCase {
  std::string name;
  uint32_t canId;
  uint8_t len;
  std::optional<uint32_t> halId;
  uint8_t size;
};

// Named in test listings by its name.
void PrintTo(const InCase& c, std::ostream* out) { *out << c.name; }

class FrameFromKernel : public ::testing::TestWithParam<InCase> {};

TEST_P(FrameFromKernel, IdentifierFlagsAndLength) {
  const InCase& c = GetParam();
  can_frame in{};
  in.can_id = c.canId;
  in.len = c.len;
  for (uint8_t i = 0; i < 8; ++i) in.data[i] = static_cast<uint8_t>(0xA0 + i);
  const auto frame = fromCanFrame(in);
  ASSERT_EQ(frame.has_value(), c.halId.has_value());
  if (!frame) return;
  EXPECT_EQ(frame->id, *c.halId) << std::hex << frame->id;
  ASSERT_EQ(frame->size, c.size);
  for (uint8_t i = 0; i < c.size; ++i) EXPECT_EQ(frame->data[i], 0xA0 + i);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FrameFromKernel,
    ::testing::Values(InCase{"Extended", 0x820C0045, 8, 0x020C0045, 8},
                      InCase{"ExtendedShort", 0x820C0045, 1, 0x020C0045, 1},
                      InCase{"Standard", 0x123, 2, kStandardFrameFlag | 0x123, 2},
                      InCase{"Remote", 0xC20C0045, 0, kRemoteFrameFlag | 0x020C0045, 0},
                      InCase{"ErrorFrameIsNoFrame", CAN_ERR_FLAG | CAN_ERR_BUSOFF, 8, std::nullopt,
                             0},
                      InCase{"LengthAboveEightIsCut", 0x820C0045, 15, 0x020C0045, 8}),
    [](const auto& info) { return info.param.name; });

}  // namespace
}  // namespace brovasocketcan
