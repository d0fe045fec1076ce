// The simulated platform's buses: each keeps its own frames and faults and has its own
// controllers, the records say the bus, and the 2027 calls on a bus the robot does not have are
// refused.
#include <cstdio>
#include <fstream>
#include <functional>
#include <mutex>
#include <stdexcept>
#include <string>
#include <vector>

#include "brovasim/CandumpLog.h"
#include "brovasim/SimController.h"
#include "support/Hal.h"
#include "support/SimTest.h"

namespace brova::testing {
namespace {

using brovasim::SimController;

// Literal wire facts, apart from the simulated platform's own constants.
constexpr uint32_t kReply = 0x020C0045;    // a device-id reply of device 5
constexpr uint32_t kRequest = 0x020C0005;  // a device-id request to device 5
constexpr int32_t kNotFound = -44087;      // HAL_ERR_CANSessionMux_MessageNotFound
constexpr int32_t kOutOfRange = -1028;     // HAL_PARAMETER_OUT_OF_RANGE
constexpr int32_t kInjected = -7;

// What a row does on its bus, and then calls on another; the status of the call.
using Setup = std::function<void(int32_t bus)>;
enum class Call { Send, Receive, Initialize };

struct BusCase {
  const char* name;
  Setup setup;
  int32_t setupBus;
  Call call;
  int32_t callBus;
  int32_t status;
};

void nothing(int32_t) {}
void keepReply(int32_t bus) { brovasim::can::putFrame(kReply, {5}, bus); }
void failSend(int32_t bus) { brovasim::can::failNextSends(kInjected, 1, bus); }
void failReceive(int32_t bus) { brovasim::can::failNextReceives(kInjected, 1, bus); }
void failInitialization(int32_t bus) { brovasim::can::failNextInitializations(kInjected, 1, bus); }

class SimBuses : public SimTest {};

TEST_F(SimBuses, FramesFaultsAndRecordsBelongToTheirBus) {
  const BusCase rows[] = {
      {"a kept frame is received on its bus", keepReply, 2, Call::Receive, 2, 0},
      {"and on no other", keepReply, 2, Call::Receive, 0, kNotFound},
      {"nor is bus 0's on bus 2", keepReply, 0, Call::Receive, 2, kNotFound},
      {"a send fault hits its bus", failSend, 2, Call::Send, 2, kInjected},
      {"and no other", failSend, 2, Call::Send, 0, 0},
      {"a receive fault hits its bus", failReceive, 2, Call::Receive, 2, kInjected},
      {"and no other", failReceive, 2, Call::Receive, 0, kNotFound},
      {"an initialisation fault hits its bus", failInitialization, 2, Call::Initialize, 2,
       kInjected},
      {"and no other", failInitialization, 2, Call::Initialize, 0, 0},
      {"the last bus works", nothing, 0, Call::Send, 24, 0},
      {"a send past the last bus is refused", nothing, 0, Call::Send, 25, kOutOfRange},
      {"a receive below bus 0 is refused", nothing, 0, Call::Receive, -1, kOutOfRange},
      {"an initialisation past the last bus is refused", nothing, 0, Call::Initialize, 25,
       kOutOfRange},
  };
  for (const BusCase& row : rows) {
    SCOPED_TRACE(row.name);
    if (!hal::kCallsNameABus && row.callBus != 0) continue;  // the 2026 calls are all on bus 0
    brovasim::can::reset();
    brovasim::can::setRecording(true);
    row.setup(row.setupBus);
    const uint8_t bytes[8] = {};
    switch (row.call) {
      case Call::Send: {
        EXPECT_EQ(hal::send(kRequest, bytes, 8, 0, row.callBus), row.status);
        const auto sent = brovasim::can::sentFrames();
        // A refused send reaches no bus, so nothing records it.
        ASSERT_EQ(sent.size(), row.status == kOutOfRange ? 0u : 1u);
        if (!sent.empty()) {
          EXPECT_EQ(sent[0].bus, row.callBus);
        }
        break;
      }
      case Call::Receive: {
        EXPECT_EQ(hal::receive(kReply, hal::kFullMask, row.callBus).status, row.status);
        const auto calls = brovasim::can::receiveCalls();
        ASSERT_EQ(calls.size(), 1u);
        EXPECT_EQ(calls[0].bus, row.callBus);
        EXPECT_EQ(calls[0].status, row.status);
        break;
      }
      case Call::Initialize: {
        int32_t status = 12345;
        const int32_t handle = hal::initializeCan(12, 5, 2, &status, row.callBus);
        EXPECT_EQ(status, row.status);
        // A refused bus hands out no handle; a fault still hands one out.
        EXPECT_EQ(handle == hal::kInvalidHandle, row.status == kOutOfRange);
        const auto initializations = brovasim::can::initializations();
        ASSERT_EQ(initializations.size(), 1u);
        EXPECT_EQ(initializations[0].bus, row.callBus);
        EXPECT_EQ(initializations[0].handle, handle);
        break;
      }
    }
  }
}

TEST_F(SimBuses, ControllersWithOneDeviceNumberAnswerOnlyTheirOwnBus) {
  auto options = SimController::defaults(SimController::Model::Quad);
  options.replyLatency = {};  // answers at once, in the sender's thread
  const auto onZero = SimController::attach(SimController::Model::Quad, 5, options);
  options.bus = 2;
  const auto onTwo = SimController::attach(SimController::Model::Quad, 5, options);
  EXPECT_EQ(onTwo->bus(), 2);
  std::mutex mutex;
  std::vector<int32_t> replyBuses;
  brovasim::can::subscribePut([&](const brovasim::PutFrame& put) {
    std::lock_guard lock(mutex);
    if (put.id == kReply) replyBuses.push_back(put.bus);
  });

  const uint8_t request[8] = {};
  const struct {
    int32_t bus;
    int answeredOnZero;
    int answeredOnTwo;
    std::vector<int32_t> replyBuses;
  } rows[] = {{2, 0, 1, {2}}, {0, 1, 1, {2, 0}}, {1, 1, 1, {2, 0}}};
  for (const auto& row : rows) {
    SCOPED_TRACE(row.bus);
    brovasim::can::sendFrame(kRequest, request, 8, row.bus);
    EXPECT_EQ(onZero->answered(), row.answeredOnZero);
    EXPECT_EQ(onTwo->answered(), row.answeredOnTwo);
    std::lock_guard lock(mutex);
    EXPECT_EQ(replyBuses, row.replyBuses);
  }
  // Each reply is kept on its own bus, and taken once there.
  EXPECT_EQ(hal::receive(kReply).status, 0);
  EXPECT_EQ(hal::receive(kReply).status, kNotFound);
  if (hal::kCallsNameABus) {
    EXPECT_EQ(hal::receive(kReply, hal::kFullMask, 2).status, 0);
  }

  options.bus = 25;
  EXPECT_THROW(SimController::attach(SimController::Model::Quad, 6, options), std::out_of_range);
  EXPECT_THROW(brovasim::can::putFrame(kReply, {5}, -1), std::out_of_range);
}

// A capture's interface names the frame's bus, after bus 0's name.
TEST_F(SimBuses, CaptureNamesEachFramesBus) {
  const std::string path = ::testing::TempDir() + "brova-capture-buses.log";
  ASSERT_TRUE(brovasim::capture::start(path, "vcan4"));
  const uint8_t bytes[1] = {9};
  brovasim::can::putFrame(kReply, bytes, 1, 0);
  brovasim::can::putFrame(kReply, bytes, 1, 2);
  brovasim::can::sendFrame(kRequest, bytes, 1, 24);
  brovasim::capture::stop();
  std::ifstream file(path);
  std::vector<std::string> interfaces;
  for (std::string line; std::getline(file, line);) {
    const auto frame = brovasim::parseCandumpLine(line);
    ASSERT_TRUE(frame) << line;
    interfaces.push_back(frame->interface);
  }
  std::remove(path.c_str());
  EXPECT_EQ(interfaces, (std::vector<std::string>{"vcan4", "vcan6", "vcan28"}));
  EXPECT_EQ(brovasim::capture::interfaceOfBus("brova0", 2), "brova2");
  EXPECT_EQ(brovasim::capture::interfaceOfBus("robot", 3), "robot3");
}

}  // namespace
}  // namespace brova::testing
