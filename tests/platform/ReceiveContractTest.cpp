// The rule every platform receives by (docs/receiving.md), checked through HAL_CAN_ReceiveMessage
// on whichever platform this executable links; only the delivery of frames differs.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "platform/FrameSource.h"
#include "support/Hal.h"

namespace brova::testing {
namespace {

using hal::kFullMask;
constexpr uint32_t kId = 0x020C0045;     // a device-id reply of device 5
constexpr uint32_t kOther = 0x020C0405;  // a current reply of device 5
constexpr uint32_t kGroupMask = 0x1FFFFFC0;

struct Frame {
  uint32_t id = 0;
  std::vector<uint8_t> data;
  bool operator==(const Frame&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Frame& f) {
  out << std::hex << f.id << std::dec << " [";
  for (uint8_t b : f.data) out << ' ' << int{b};
  return out << " ]";
}

// Either a frame put on the bus, or a receive and what it finds (nothing: not found).
struct Step {
  std::optional<Frame> put;
  uint32_t id = 0;
  uint32_t mask = kFullMask;
  std::optional<Frame> found;
};

Step put(uint32_t id, std::vector<uint8_t> data) {
  Step step;
  step.put = Frame{id, std::move(data)};
  return step;
}
Step receive(uint32_t id, std::optional<Frame> found, uint32_t mask = kFullMask) {
  Step step;
  step.id = id;
  step.mask = mask;
  step.found = std::move(found);
  return step;
}

struct ReceiveCase {
  std::string name;
  std::vector<Step> steps;
};

// Named in test listings by its name.
void PrintTo(const ReceiveCase& c, std::ostream* out) { *out << c.name; }

// What one receive reports: the frame, or nothing with its status.
std::optional<Frame> receiveOnce(uint32_t id, uint32_t mask, int32_t& status) {
  const hal::Received r = hal::receive(id, mask);
  status = r.status;
  if (status != 0) return std::nullopt;
  return Frame{r.id, {r.data.begin(), r.data.begin() + std::min<uint8_t>(r.size, 8)}};
}

class ReceiveContract : public ::testing::TestWithParam<ReceiveCase> {
 protected:
  void SetUp() override { bus_ = makeFrameSource(); }
  void TearDown() override { bus_.reset(); }

  std::unique_ptr<FrameSource> bus_;
};

TEST_P(ReceiveContract, EachFrameGoesToOneReceive) {
  const auto& steps = GetParam().steps;
  if (!hal::kMaskedReceive &&
      std::any_of(steps.begin(), steps.end(), [](const Step& s) { return s.mask != kFullMask; })) {
    GTEST_SKIP() << "this HAL generation's receive matches the identifier exactly, without a mask";
  }
  bool unsettled = false;
  int receiveNumber = 0;
  for (const Step& step : steps) {
    if (step.put) {
      bus_->deliver(step.put->id, step.put->data);
      unsettled = true;
      continue;
    }
    if (unsettled) bus_->settle();
    unsettled = false;
    ++receiveNumber;
    int32_t status = 0;
    const std::optional<Frame> got = receiveOnce(step.id, step.mask, status);
    EXPECT_EQ(got, step.found) << "receive " << receiveNumber;
    if (!step.found) {
      EXPECT_EQ(status, HAL_ERR_CANSessionMux_MessageNotFound) << "receive " << receiveNumber;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ReceiveContract,
    ::testing::Values(
        ReceiveCase{"NothingPutIsNotFound", {receive(kId, std::nullopt)}},
        ReceiveCase{"FrameIsReceivedWithItsIdentifierBytesAndSize",
                    {put(kId, {9, 8, 7}), receive(kId, Frame{kId, {9, 8, 7}})}},
        ReceiveCase{"EightAndZeroBytesKeepTheirSize",
                    {put(kId, {1, 2, 3, 4, 5, 6, 7, 8}), put(kOther, {}),
                     receive(kId, Frame{kId, {1, 2, 3, 4, 5, 6, 7, 8}}),
                     receive(kOther, Frame{kOther, {}})}},
        ReceiveCase{"SecondReceiveFindsNothing",
                    {put(kId, {5}), receive(kId, Frame{kId, {5}}), receive(kId, std::nullopt)}},
        ReceiveCase{"NewerFrameReplacesAnUntakenOne",
                    {put(kId, {1}), put(kId, {2}), receive(kId, Frame{kId, {2}}),
                     receive(kId, std::nullopt)}},
        ReceiveCase{"MaskedReceiveTakesTheLatestMatchingFrameFirst",
                    {put(0x020C0046, {6}), put(0x020C0047, {7}), put(kOther, {4}),
                     receive(0x020C0040, Frame{0x020C0047, {7}}, kGroupMask),
                     receive(0x020C0040, Frame{0x020C0046, {6}}, kGroupMask),
                     receive(0x020C0040, std::nullopt, kGroupMask)}},
        ReceiveCase{"TakingOneIdentifierLeavesTheOthers",
                    {put(kId, {1}), put(kOther, {2}), receive(kId, Frame{kId, {1}}),
                     receive(kOther, Frame{kOther, {2}}), receive(kId, std::nullopt)}},
        ReceiveCase{"NewFrameAfterATakeIsReceived",
                    {put(kId, {1}), receive(kId, Frame{kId, {1}}), put(kId, {2}),
                     receive(kId, Frame{kId, {2}}), receive(kId, std::nullopt)}}),
    [](const auto& info) { return info.param.name; });

}  // namespace
}  // namespace brova::testing
