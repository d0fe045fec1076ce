// What the tools ask a device without opening it: its own device slot, the models' queries on
// that slot, and a reply read that tells "no reply" from zeros.
#include <vector>

#include "BrovaTools.h"
#include "controller/Lifecycle.h"
#include "controller/Models.h"
#include "support/SimTest.h"

namespace brova::testing {
namespace {

using tools::DeviceQuestions;
using tools::Model;

class DeviceQuestionsTest : public SimTest {
 protected:
  void SetUp() override {
    SimTest::SetUp();
    captureConsole();
  }
};

// Wire facts named by number: device-ID request/reply, hardware-version reply, current reply,
// keep-alive of a disabled robot.
constexpr uint32_t kDeviceIdRequest = 0x020C0000;
constexpr uint32_t kDeviceIdReply = 0x020C0040;
constexpr uint32_t kHardwareVersionReply = 0x020C0140;
constexpr uint32_t kMotorCurrentReply = 0x020C0400;
constexpr uint32_t kKeepAliveInactive = 0x020C0500;

TEST_F(DeviceQuestionsTest, AskAddressesItsDeviceAndLeavesTheModelsSlotsAlone) {
  const controller::Model& quad = controller::brovaQuadModel();
  const int32_t handle = controller::create(quad, 5, 1000, nullptr, 0);
  ASSERT_NE(handle, 0);
  DeviceQuestions questions(42);
  brovasim::can::putFrame(kDeviceIdReply + 42, {42});
  brovasim::can::clearSentFrames();
  EXPECT_EQ(questions.askDeviceId(0.01), 42);
  // The open controller's keep-alive frames go on meanwhile; the request is the only other frame.
  std::vector<uint32_t> requests;
  for (const auto& frame : sent()) {
    if (frame.id != kKeepAliveInactive + 5) requests.push_back(frame.id);
  }
  EXPECT_EQ(requests, std::vector<uint32_t>{kDeviceIdRequest + 42});
  EXPECT_EQ(quad.device(), 5);
  controller::destroy(quad, handle);
}

TEST_F(DeviceQuestionsTest, NoReplyIsNothingAndPrintsNothingZerosAreAReply) {
  DeviceQuestions questions(9);
  EXPECT_FALSE(questions.askDeviceId(0.01).has_value());
  EXPECT_FALSE(questions.askHardware().has_value());
  brovasim::can::putFrame(kDeviceIdReply + 9, {0, 0});
  EXPECT_EQ(questions.askDeviceId(0.01), 0);
  EXPECT_EQ(console(), "");
}

TEST_F(DeviceQuestionsTest, HardwareReplyNamesTheModel) {
  struct Row {
    uint8_t type;
    std::optional<Model> model;
    std::string text;
  };
  const Row rows[] = {
      {1, Model::Quad, "Hardware: Brova Quad, Version: 3"},
      {2, Model::Small, "Hardware: Brova Small, Version: 3"},
      {7, std::nullopt, "hardware type 7"},
  };
  DeviceQuestions questions(9);
  for (const Row& row : rows) {
    brovasim::can::putFrame(kHardwareVersionReply + 9, {row.type, 3});
    const auto hardware = questions.askHardware();
    ASSERT_TRUE(hardware.has_value()) << int(row.type);
    EXPECT_EQ(hardware->model, row.model) << int(row.type);
    EXPECT_EQ(hardware->type, row.type);
    EXPECT_EQ(hardware->text, row.text);
  }
}

TEST_F(DeviceQuestionsTest, QueriesDecodeAsTheModelAndReportAMissingReply) {
  DeviceQuestions questions(9);
  brovasim::can::putFrame(kMotorCurrentReply + 9, {2, 50});
  EXPECT_DOUBLE_EQ(questions.current(Model::Quad, 1), 2.5);  // whole + hundredths
  brovasim::can::putFrame(kMotorCurrentReply + 9, {2, 50});
  EXPECT_DOUBLE_EQ(questions.current(Model::Small, 0), 52.0);  // byte 0 + byte 1
  EXPECT_EQ(questions.current(Model::Quad, 1), 0.0);
  EXPECT_EQ(console(), "Motor current could not be obtained for motor: 1\n");
}

}  // namespace
}  // namespace brova::testing
