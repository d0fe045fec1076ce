// A test's own controllers on WPILib's simulation HAL: a responder registered on the
// simulation's CAN callbacks answers the requests of BrovaQuads and BrovaSmalls, and counts the
// keep-alive frames it hears. Built against WPILib's own headers of either generation, for the
// robot programs that run the packaged driver over WPILib's libwpiHal.so.
//
// The identifiers and reply layouts are written out here on purpose, not taken from the driver:
// a mistake on either side shows as a wrong reading.
#include <jni.h>

#include <array>
#include <cstdint>
#include <cstring>
#include <map>
#include <mutex>

#if __has_include("wpi/hal/HAL.h")
#include "wpi/hal/CAN.h"
#include "wpi/hal/HAL.h"
#include "wpi/hal/simulation/CanData.h"
#include "wpi/hal/simulation/DriverStationData.h"
#define BROVA_WPILIB_2027 1
#else
#include "hal/CAN.h"
#include "hal/HAL.h"
#include "hal/simulation/CanData.h"
#include "hal/simulation/DriverStationData.h"
#define BROVA_WPILIB_2027 0
#endif

#include "Responder.h"

namespace {

constexpr uint32_t kMessageSet = 0x020C0000;  // motor controller (2), manufacturer 12
constexpr int kFirmwareRequest = 2, kFirmwareReply = 3;
constexpr int kCurrentRequest = 15, kCurrentReply = 16;
constexpr int kKeepAliveInactive = 20, kKeepAliveActive = 21;
constexpr int kTemperatureRequest = 23, kTemperatureReply = 24;

constexpr uint32_t identifier(int api, int device) {
  return kMessageSet | static_cast<uint32_t>(api) << 6 | static_cast<uint32_t>(device);
}
constexpr int apiOf(uint32_t id) { return static_cast<int>((id >> 6) & 0x3FF); }
constexpr int deviceOf(uint32_t id) { return static_cast<int>(id & 0x3F); }

using Frame = std::array<uint8_t, 8>;

std::mutex lock;
// The latest untaken reply of each identifier, by bus: a controller answers on the bus it heard.
std::map<std::pair<int, uint32_t>, Frame> replies;
std::map<std::pair<int, bool>, int> keepAlives;
std::map<std::pair<int, int>, int> framesHeard;  // by bus and device
int lastBus = -1;

// Answers one frame the driver sent: the controller's replies are fixed per device, so a
// reading that comes back tells which request and which device it answered.
void heard(int bus, uint32_t id, const uint8_t* data, uint8_t size) {
  if ((id & 0x1FFF0000) != kMessageSet) return;
  const int device = deviceOf(id);
  std::lock_guard guard(lock);
  lastBus = bus;
  ++framesHeard[{bus, device}];
  switch (apiOf(id)) {
    case kFirmwareRequest:
      replies[{bus, identifier(kFirmwareReply, device)}] = {3, 1, static_cast<uint8_t>(device)};
      break;
    case kCurrentRequest: {
      const uint8_t motor = size > 0 && data != nullptr ? data[0] : 0;
      // motor + device / 100 amperes: 1.05 A for motor 1 of device 5.
      replies[{bus, identifier(kCurrentReply, device)}] = {motor, static_cast<uint8_t>(device)};
      break;
    }
    case kTemperatureRequest:
      replies[{bus, identifier(kTemperatureReply, device)}] = {30, static_cast<uint8_t>(device)};
      break;
    case kKeepAliveInactive: ++keepAlives[{device, false}]; break;
    case kKeepAliveActive: ++keepAlives[{device, true}]; break;
    default: break;
  }
}

// Takes the kept reply of `id` on `bus`; false when there is none.
bool take(int bus, uint32_t id, Frame& frame) {
  std::lock_guard guard(lock);
  const auto kept = replies.find({bus, id});
  if (kept == replies.end()) return false;
  frame = kept->second;
  replies.erase(kept);
  return true;
}

#if BROVA_WPILIB_2027
void onSend(const char*, void*, int32_t busId, uint32_t messageId, const HAL_CANMessage* message,
            int32_t, int32_t* status) {
  if (message != nullptr) heard(busId, messageId, message->data, message->dataSize);
  *status = 0;
}

void onReceive(const char*, void*, int32_t busId, uint32_t messageId,
               HAL_CANReceiveMessage* message, int32_t* status) {
  Frame frame{};
  if (!take(busId, messageId, frame)) {
    *status = HAL_ERR_CANSessionMux_MessageNotFound;
    return;
  }
  message->message.flags = 0;
  message->message.dataSize = 8;
  std::memcpy(message->message.data, frame.data(), 8);
  message->timeStamp = 0;
  *status = 0;
}
#else
void onSend(const char*, void*, uint32_t messageID, const uint8_t* data, uint8_t dataSize, int32_t,
            int32_t* status) {
  heard(0, messageID, data, dataSize);
  *status = 0;
}

void onReceive(const char*, void*, uint32_t* messageID, uint32_t, uint8_t* data, uint8_t* dataSize,
               uint32_t* timeStamp, int32_t* status) {
  Frame frame{};
  if (!take(0, *messageID, frame)) {
    *status = HAL_ERR_CANSessionMux_MessageNotFound;
    return;
  }
  std::memcpy(data, frame.data(), 8);
  *dataSize = 8;
  *timeStamp = 0;
  *status = 0;
}
#endif

void setEnabled(bool enabled) {
  HALSIM_SetDriverStationEnabled(enabled);
  HALSIM_NotifyDriverStationNewData();
}

}  // namespace

extern "C" {

int brova_wpilib_start(void) {
  // Every WPILib robot program initialises the HAL before anything else.
  if (!HAL_Initialize(500, 0)) return 0;
  HALSIM_RegisterCanSendMessageCallback(onSend, nullptr);
  HALSIM_RegisterCanReceiveMessageCallback(onReceive, nullptr);
  HALSIM_SetDriverStationDsAttached(true);
  setEnabled(false);
  return 1;
}

void brova_wpilib_set_enabled(int enabled) { setEnabled(enabled != 0); }

int brova_wpilib_keep_alives(int device, int active) {
  std::lock_guard guard(lock);
  return keepAlives[{device, active != 0}];
}

void brova_wpilib_clear_keep_alives(void) {
  std::lock_guard guard(lock);
  keepAlives.clear();
}

int brova_wpilib_frames_heard(int bus, int device) {
  std::lock_guard guard(lock);
  return framesHeard[{bus, device}];
}

int brova_wpilib_names_buses(void) { return BROVA_WPILIB_2027; }

int brova_wpilib_last_bus(void) {
  std::lock_guard guard(lock);
  return lastBus;
}

// The Java robot program's view of the same responder (class WpilibResponder).
JNIEXPORT jboolean JNICALL Java_WpilibResponder_start(JNIEnv*, jclass) {
  return brova_wpilib_start() != 0 ? JNI_TRUE : JNI_FALSE;
}
JNIEXPORT void JNICALL Java_WpilibResponder_setEnabled(JNIEnv*, jclass, jboolean enabled) {
  brova_wpilib_set_enabled(enabled != JNI_FALSE);
}
JNIEXPORT jint JNICALL Java_WpilibResponder_keepAlives(JNIEnv*, jclass, jint device,
                                                       jboolean active) {
  return brova_wpilib_keep_alives(device, active != JNI_FALSE);
}
JNIEXPORT void JNICALL Java_WpilibResponder_clearKeepAlives(JNIEnv*, jclass) {
  brova_wpilib_clear_keep_alives();
}

}  // extern "C"
