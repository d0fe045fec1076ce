// The pieces a tool uses to ask a device questions without opening it: a model's description
// on a device slot of the tool's own, and a reply read that tells "no reply" from zeros.
#include "can/Identifiers.h"
#include "controller/Exchange.h"
#include "controller/Models.h"
#include "controller/Queries.h"
#include "support/SimTest.h"

namespace brova::testing {
namespace {

using controller::Model;
using controller::ModelState;

class ProbeModel : public SimTest {};

TEST_F(ProbeModel, OnDeviceKeepsEveryValueOfTheModelButItsSlot) {
  for (const Model* base : {&controller::brovaQuadModel(), &controller::brovaSmallModel()}) {
    ModelState probe;
    const Model model = controller::onDevice(*base, probe);
    EXPECT_EQ(&model.state, &probe);
    EXPECT_EQ(model.replyPause, base->replyPause);
    EXPECT_EQ(model.greeting, base->greeting);
    EXPECT_EQ(model.numbersChannels, base->numbersChannels);
    EXPECT_EQ(model.currentByte1Divisor, base->currentByte1Divisor);
    EXPECT_EQ(model.unknownHardware, base->unknownHardware);
  }
  // The two descriptions are the two models: the BrovaSmall is the one with the greeting.
  EXPECT_TRUE(controller::brovaQuadModel().greeting.empty());
  EXPECT_FALSE(controller::brovaSmallModel().greeting.empty());
}

TEST_F(ProbeModel, QueryOnProbeSlotAddressesItsDeviceAndLeavesTheModelsSlotAlone) {
  const int32_t quadDevice = controller::brovaQuadModel().device();
  const int32_t smallDevice = controller::brovaSmallModel().device();
  ModelState probe;
  probe.deviceNumber = 42;
  brovasim::can::putFrame(can::kDeviceIdReply + 42, {42});
  EXPECT_EQ(controller::getDeviceId(controller::onDevice(controller::brovaQuadModel(), probe)), 42);
  ASSERT_EQ(sent().size(), 1u);
  EXPECT_EQ(sent()[0].id, can::kDeviceIdRequest + 42);
  EXPECT_EQ(controller::brovaQuadModel().device(), quadDevice);
  EXPECT_EQ(controller::brovaSmallModel().device(), smallDevice);
}

TEST_F(ProbeModel, TryReceiveTellsNoReplyFromZerosAndPrintsNothing) {
  ModelState probe;
  probe.deviceNumber = 9;
  const Model model = controller::onDevice(controller::brovaQuadModel(), probe);
  captureConsole();
  {
    controller::Exchange exchange(model, can::kDeviceIdRequest, {});
    EXPECT_FALSE(exchange.tryReceive(can::kDeviceIdReply).has_value());
  }
  brovasim::can::putFrame(can::kDeviceIdReply + 9, {0, 0});
  {
    controller::Exchange exchange(model, can::kDeviceIdRequest, {});
    const auto reply = exchange.tryReceive(can::kDeviceIdReply);
    ASSERT_TRUE(reply.has_value());
    EXPECT_EQ(*reply, (Bytes{0, 0, 0, 0, 0, 0, 0, 0}));
  }
  brovasim::can::putFrame(can::kHardwareVersionReply + 9, {1, 3, 0xFF});
  {
    controller::Exchange exchange(model, can::kHardwareVersionRequest, {});
    EXPECT_EQ(exchange.tryReceive(can::kHardwareVersionReply), (Bytes{1, 3, 0xFF, 0, 0, 0, 0, 0}));
  }
  EXPECT_EQ(console(), "");
}

TEST_F(ProbeModel, ReceiveStillReportsTheMissingReplyAndReadsZeros) {
  ModelState probe;
  probe.deviceNumber = 9;
  captureConsole();
  EXPECT_EQ(controller::getDeviceId(controller::onDevice(controller::brovaQuadModel(), probe)), 0);
  EXPECT_EQ(console(), "Device ID could not be obtained\n");
}

}  // namespace
}  // namespace brova::testing
