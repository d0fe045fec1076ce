// brova-devsim's bridge over a socket pair standing in for the CAN interface: requests from the
// bus reach the simulated controllers, and their replies go out on the bus byte for byte.
#include <gtest/gtest.h>

#include <thread>

#include "Bridge.h"
#include "brovasim/SimCan.h"
#include "brovasim/SimController.h"
#include "support/SocketPair.h"

namespace devsim {
namespace {

using brovasim::SimController;
using brovasocketcan::testing::extended;
using brovasocketcan::testing::SocketPair;
using brovasocketcan::testing::WireFrame;
using namespace std::chrono_literals;

constexpr int kDevice = 5;
constexpr uint32_t frameId(uint32_t api, int device = kDevice) {
  return 0x020C0000 | api << 6 | static_cast<uint32_t>(device);
}

class DevsimBridge : public ::testing::Test {
 protected:
  void SetUp() override {
    brovasim::can::reset();
    quad_ = SimController::attach(SimController::Model::Quad, kDevice);
    bridge_ = std::make_unique<Bridge>(pair_.release());
  }
  void TearDown() override {
    quad_->detach();
    bridge_.reset();
    brovasim::can::reset();
  }

  SocketPair pair_;
  std::shared_ptr<SimController> quad_;
  std::unique_ptr<Bridge> bridge_;
};

struct Exchange {
  std::string name;
  uint32_t requestApi;
  std::vector<uint8_t> request;
  std::vector<WireFrame> replies;
};

// Named in test listings by its name.
void PrintTo(const Exchange& c, std::ostream* out) { *out << c.name; }

class DevsimBridgeAnswers : public DevsimBridge, public ::testing::WithParamInterface<Exchange> {};

TEST_P(DevsimBridgeAnswers, RequestFromTheBus) {
  const Exchange& e = GetParam();
  pair_.put(extended(frameId(e.requestApi)), e.request);
  for (const WireFrame& reply : e.replies) EXPECT_EQ(pair_.next(), reply);
  EXPECT_EQ(pair_.next(100ms), std::nullopt);
}

// The replies of the quad's default identity, in the layout the library decodes.
INSTANTIATE_TEST_SUITE_P(
    Requests, DevsimBridgeAnswers,
    ::testing::Values(
        Exchange{"DeviceId", 0, {0, 0, 0, 0, 0, 0, 0, 0}, {{0x820C0045, {5, 0, 0, 0, 0, 0, 0, 0}}}},
        Exchange{"Firmware", 2, {0, 0, 0, 0, 0, 0, 0, 0}, {{0x820C00C5, {1, 4, 2, 0, 0, 0, 0, 0}}}},
        Exchange{"Hardware", 4, {0, 0, 0, 0, 0, 0, 0, 0}, {{0x820C0145, {1, 3, 0, 0, 0, 0, 0, 0}}}},
        Exchange{"SerialInThreeWords",
                 6,
                 {0, 0, 0, 0, 0, 0, 0, 0},
                 {{0x820C01C5, {0x51, 0x56, 0x52, 0x42, 0, 0, 0, 0}},
                  {0x820C0205, {0x01, 0x00, 0x01, 0x00, 0, 0, 0, 0}},
                  {0x820C0245, {0x17, 0x05, 0x00, 0x00, 0, 0, 0, 0}}}},
        Exchange{"CommandIsNotAnswered", 14, {1, 50, 1, 0, 0, 0, 0, 0}, {}}),
    [](const auto& info) { return info.param.name; });

TEST_F(DevsimBridge, RequestForAnotherDeviceIsNotAnswered) {
  pair_.put(extended(frameId(0, kDevice + 1)), {0, 0, 0, 0, 0, 0, 0, 0});
  EXPECT_EQ(pair_.next(300ms), std::nullopt);
}

TEST_F(DevsimBridge, ActiveKeepAliveFromTheBusEnablesTheController) {
  EXPECT_FALSE(quad_->enabled());
  pair_.put(extended(frameId(21)), {0, 0, 0, 0, 0, 0, 0, 0});
  const auto end = std::chrono::steady_clock::now() + 2s;
  while (!quad_->enabled() && std::chrono::steady_clock::now() < end) {
    std::this_thread::sleep_for(1ms);
  }
  EXPECT_TRUE(quad_->enabled());
  EXPECT_EQ(bridge_->framesHeard(), 1u);
}

TEST_F(DevsimBridge, CommandFromTheBusDrivesTheChannel) {
  pair_.put(extended(frameId(14)), {1, 50, 1, 0, 0, 0, 0, 0});
  const auto end = std::chrono::steady_clock::now() + 2s;
  while (quad_->channel(1).commandedSpeed == 0.0 && std::chrono::steady_clock::now() < end) {
    std::this_thread::sleep_for(1ms);
  }
  EXPECT_DOUBLE_EQ(quad_->channel(1).commandedSpeed, 0.5);
}

TEST_F(DevsimBridge, ReplyThatCannotBeWrittenIsCounted) {
  pair_.closeBus();
  // The reader stops at the hang-up; a reply put on the simulated bus still tries the socket.
  brovasim::can::putFrame(frameId(1), {5});
  EXPECT_EQ(bridge_->failedWrites(), 1u);
  EXPECT_EQ(bridge_->repliesWritten(), 0u);
}

}  // namespace
}  // namespace devsim
