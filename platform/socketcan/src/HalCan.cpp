// The platform's CAN functions over the SocketCAN link.
#include <algorithm>
#include <cstring>

#include "Platform.h"
#include "brovasocketcan/SocketCan.h"
#include "hal/CAN.h"
#include "hal/CANAPI.h"
#include "hal/HALBase.h"

using brovasocketcan::Platform;

namespace {

void report(int32_t* status, int32_t value) {
  if (status != nullptr) *status = value;
}

}  // namespace

extern "C" {

HAL_CANHandle HAL_InitializeCAN(HAL_CANManufacturer, int32_t, HAL_CANDeviceType, int32_t* status) {
  Platform& platform = Platform::instance();
  // Opening here puts the interface's console line next to the create that needed it, and
  // starts the reader before the first request goes out.
  report(status, platform.link() ? HAL_SUCCESS : brovasocketcan::kStatusNotOpen);
  return platform.nextHandle();
}

void HAL_CleanCAN(HAL_CANHandle) {}

void HAL_CAN_SendMessage(uint32_t messageID, const uint8_t* data, uint8_t dataSize,
                         int32_t periodMs, int32_t* status) {
  if (periodMs != HAL_CAN_SEND_PERIOD_NO_REPEAT) {
    return report(status, brovasocketcan::kStatusPeriodNotSupported);
  }
  brovasocketcan::Frame frame{.id = messageID, .size = std::min<uint8_t>(dataSize, 8)};
  if (frame.size > 0) {
    if (data == nullptr) return report(status, brovasocketcan::kStatusInvalidBuffer);
    std::memcpy(frame.data.data(), data, frame.size);
  }
  const auto link = Platform::instance().link();
  if (!link) return report(status, brovasocketcan::kStatusNotOpen);
  report(status, link->send(frame));
}

void HAL_CAN_ReceiveMessage(uint32_t* messageID, uint32_t messageIDMask, uint8_t* data,
                            uint8_t* dataSize, uint32_t* timeStamp, int32_t* status) {
  if (messageID == nullptr || data == nullptr || dataSize == nullptr || timeStamp == nullptr) {
    return report(status, brovasocketcan::kStatusInvalidBuffer);
  }
  const auto link = Platform::instance().link();
  if (!link) return report(status, brovasocketcan::kStatusNotOpen);
  const auto received = link->take(*messageID, messageIDMask);
  if (!received) return report(status, HAL_ERR_CANSessionMux_MessageNotFound);
  *messageID = received->frame.id;
  std::memcpy(data, received->frame.data.data(), received->frame.size);
  *dataSize = received->frame.size;
  *timeStamp = received->timeStampMs;
  report(status, HAL_SUCCESS);
}

}  // extern "C"
