// scan, info and watch against simulated controllers: what they find and print, and that they
// only ever send requests.
#include "BrovactlTest.h"
#include "can/Identifiers.h"

namespace brova::testing {
namespace {

class ReadOnlyCommands : public BrovactlTest {};

TEST_F(ReadOnlyCommands, ScanFindsExactlyTheAttachedDevicesWithTheirModel) {
  attachQuad(5);
  attachSmall(7);
  attachQuad(63);
  const Outcome result = run({"scan", "--wait", "2"});
  EXPECT_EQ(result.status, 0) << result.err;
  EXPECT_EQ(result.out,
            "device 5  BrovaQuad  Hardware: Brova Quad, Version: 3\n"
            "device 7  BrovaSmall  Hardware: Brova Small, Version: 1\n"
            "device 63  BrovaQuad  Hardware: Brova Quad, Version: 3\n"
            "3 devices answered\n");
  // One device-ID request to every device number, in order.
  const auto requests = sent(can::kDeviceIdRequest + 1);
  EXPECT_EQ(requests.size(), 1u);
  EXPECT_EQ(sent(can::kDeviceIdRequest + 63).size(), 1u);
}

TEST_F(ReadOnlyCommands, ScanWithNothingOnTheBusExitsOne) {
  const Outcome result = run({"scan", "--wait", "1"});
  EXPECT_EQ(result.status, 1);
  EXPECT_EQ(result.out, "");
  EXPECT_CONTAINS(result.err, "no device answered");
}

TEST_F(ReadOnlyCommands, ScanSaysWhichDeviceReportsAnUnknownModel) {
  auto odd = attachQuad(9);
  auto identity = brovasim::SimController::defaults(brovasim::SimController::Model::Quad).identity;
  identity.hardwareType = 7;
  odd->setIdentity(identity);
  const Outcome result = run({"scan", "--wait", "2"});
  EXPECT_EQ(result.status, 0);
  EXPECT_EQ(result.out, "device 9  unknown model  hardware type 7\n1 device answered\n");
}

TEST_F(ReadOnlyCommands, InfoPrintsTheIdentityWhicheverWayTheDeviceIsNamed) {
  attachQuad(5);
  attachSmall(7);
  const std::string quad =
      "device 5  BrovaQuad\n  Firmware Version: [1.4.2]\n  Hardware: Brova Quad, Version: 3\n"
      "  serial 42525651-00010001-00000517\n";
  const std::string small =
      "device 7  BrovaSmall\n  Firmware Version: [1.2.0]\n  Hardware: Brova Small, Version: 1\n"
      "  serial 42525653-00010001-00000A2C\n";
  const struct {
    std::vector<std::string> arguments;
    std::string expected;
  } rows[] = {
      {{"info", "--device", "5"}, quad},
      {{"info", "--quad", "5"}, quad},
      {{"info", "--device", "7"}, small},
      {{"info", "--small", "7"}, small},
  };
  for (const auto& row : rows) {
    const Outcome result = run(row.arguments);
    EXPECT_EQ(result.status, 0) << row.arguments[1] << result.err;
    EXPECT_EQ(result.out, row.expected) << row.arguments[1];
  }
}

TEST_F(ReadOnlyCommands, InfoOnASilentDeviceExitsOne) {
  attachQuad(5);
  const Outcome result = run({"info", "--device", "6"});
  EXPECT_EQ(result.status, 1);
  EXPECT_EQ(result.err, "brovactl info: device 6 does not answer\n");
}

TEST_F(ReadOnlyCommands, WatchPrintsTelemetryForEachRefresh) {
  auto quad = attachQuad(5);
  attachSmall(7);
  const Outcome result = run({"watch", "--quad", "5", "--count", "2", "--interval", "20"});
  EXPECT_EQ(result.status, 0) << result.err;
  EXPECT_EQ(result.out.find("BrovaQuad device 5  t=0.00 s  temperature 25.00 C\n"), 0u)
      << result.out;
  for (const char* motor : {"motor 0", "motor 1", "motor 2", "motor 3"}) {
    EXPECT_CONTAINS(result.out, std::string("  ") + motor +
                                    "  current   0.00 A  rpm     0  count          0\n");
  }
  size_t blocks = 0;
  for (size_t at = 0; (at = result.out.find("BrovaQuad device 5", at)) != std::string::npos; ++at)
    ++blocks;
  EXPECT_EQ(blocks, 2u);

  const Outcome small = run({"watch", "--small", "7", "--count", "1"});
  EXPECT_EQ(small.status, 0) << small.err;
  EXPECT_EQ(small.out,
            "BrovaSmall device 7  t=0.00 s\n  motor 0  current   0.00 A  count          0\n");
}

// What a command may never send: these would configure, drive or keep alive a controller.
bool changesAController(uint32_t id) {
  const uint32_t api = can::apiNumber(id);
  for (uint32_t base : {can::kConfigureMotor, can::kDisableMotor, can::kSetMotorSpeed,
                        can::kResetEncoder, can::kKeepAliveInactive, can::kKeepAliveActive}) {
    if (api == can::apiNumber(base)) return true;
  }
  return false;
}

TEST_F(ReadOnlyCommands, ReadOnlyCommandsSendRequestsOnly) {
  attachQuad(5);
  attachSmall(7);
  const std::vector<std::vector<std::string>> commands = {
      {"scan", "--wait", "2"},
      {"info", "--device", "5"},
      {"info", "--small", "7"},
      {"watch", "--quad", "5", "--count", "2", "--interval", "10"},
      {"watch", "--small", "7", "--count", "1"},
  };
  for (const auto& command : commands) {
    brovasim::can::clearSentFrames();
    const Outcome result = run(command);
    EXPECT_EQ(result.status, 0) << command[0] << result.err;
    const auto frames = sent();
    EXPECT_FALSE(frames.empty()) << command[0];
    for (const auto& frame : frames) {
      EXPECT_FALSE(changesAController(frame.id))
          << command[0] << " sent API " << can::apiNumber(frame.id);
    }
    // No CAN handle was taken: nothing was created, so no keep-alive can start later either.
    EXPECT_TRUE(brovasim::can::initializations().empty()) << command[0];
  }
  // A stray keep-alive thread would show up after a period or two.
  std::this_thread::sleep_for(250ms);
  for (const auto& frame : sent()) EXPECT_FALSE(changesAController(frame.id));
}

}  // namespace
}  // namespace brova::testing
