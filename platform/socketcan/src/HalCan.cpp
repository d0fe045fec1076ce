// The platform's CAN functions over the SocketCAN links, in the form of the HAL generation the
// build targets (BROVA_HAL); both forms send and take frames through the same functions below.
// The 2027 form reaches the interface of the bus it names; the 2026 form names no bus and
// reaches bus 0's.
#include <algorithm>
#include <cstring>
#include <optional>

#include "Platform.h"
#include "brovasocketcan/SocketCan.h"

#if BROVA_HAL >= 2027
#include "wpi/hal/CAN.h"
#include "wpi/hal/CANAPI.h"
#else
#include "hal/CAN.h"
#include "hal/CANAPI.h"
#endif

using brovasocketcan::Platform;

namespace {

// What HAL_InitializeCAN returns when it hands out no handle.
#if BROVA_HAL >= 2027
constexpr HAL_CANHandle kNoHandle = HAL_INVALID_HANDLE;
#else
constexpr HAL_CANHandle kNoHandle = HAL_kInvalidHandle;
#endif

void report(int32_t* status, int32_t value) {
  if (status != nullptr) *status = value;
}

// The status of a call on a bus whose link is `found`, when there is no link to use.
int32_t missing(const Platform::BusLink& found) {
  return found.named ? brovasocketcan::kStatusNotOpen : brovasocketcan::kStatusNoInterface;
}

HAL_CANHandle initialize(int32_t bus, int32_t* status) {
  Platform& platform = Platform::instance();
  // Opening here puts the interface's console line next to the create that needed it, and
  // starts the reader before the first request goes out.
  const Platform::BusLink found = platform.link(bus);
  report(status, found.link ? HAL_SUCCESS : missing(found));
  // An interface that cannot be opened yet may be there later; a bus without one never is.
  return found.named ? platform.nextHandle() : kNoHandle;
}

// Sends `size` bytes of `data` (at most 8 go on the wire) as frame `id` on `bus`; the status.
int32_t send(int32_t bus, uint32_t id, const uint8_t* data, uint8_t size, int32_t periodMs) {
  if (periodMs != HAL_CAN_SEND_PERIOD_NO_REPEAT) return brovasocketcan::kStatusPeriodNotSupported;
  brovasocketcan::Frame frame{.id = id, .size = std::min<uint8_t>(size, 8)};
  if (frame.size > 0) {
    if (data == nullptr) return brovasocketcan::kStatusInvalidBuffer;
    std::memcpy(frame.data.data(), data, frame.size);
  }
  const Platform::BusLink found = Platform::instance().link(bus);
  if (!found.link) return missing(found);
  return found.link->send(frame);
}

// Takes the latest frame on `bus` matching `id` under `mask` (docs/receiving.md); the status.
int32_t take(int32_t bus, uint32_t id, uint32_t mask,
             std::optional<brovasocketcan::ReceivedFrame>& taken) {
  const Platform::BusLink found = Platform::instance().link(bus);
  if (!found.link) return missing(found);
  taken = found.link->take(id, mask);
  return taken ? HAL_SUCCESS : HAL_ERR_CANSessionMux_MessageNotFound;
}

}  // namespace

extern "C" {

#if BROVA_HAL >= 2027

// The 2027 receive matches its identifier exactly.
constexpr uint32_t kFullMask = 0x1FFFFFFF;

HAL_CANHandle HAL_InitializeCAN(int32_t busId, HAL_CANManufacturer, int32_t, HAL_CANDeviceType,
                                int32_t* status) {
  return initialize(busId, status);
}

// Classic frames only (flags 0): a CAN FD frame is refused.
void HAL_CAN_SendMessage(int32_t busId, uint32_t messageId, const struct HAL_CANMessage* message,
                         int32_t periodMs, int32_t* status) {
  if (message == nullptr) return report(status, brovasocketcan::kStatusInvalidBuffer);
  if (message->flags != 0) return report(status, brovasocketcan::kStatusPeriodNotSupported);
  report(status, send(busId, messageId, message->data, message->dataSize, periodMs));
}

// The identifier is matched exactly; the time stamp is the frame's arrival, in microseconds of
// the steady clock.
void HAL_CAN_ReceiveMessage(int32_t busId, uint32_t messageId,
                            struct HAL_CANReceiveMessage* message, int32_t* status) {
  if (message == nullptr) return report(status, brovasocketcan::kStatusInvalidBuffer);
  std::optional<brovasocketcan::ReceivedFrame> taken;
  const int32_t result = take(busId, messageId, kFullMask, taken);
  if (taken) {
    message->message.flags = 0;
    message->message.dataSize = taken->frame.size;
    std::memcpy(message->message.data, taken->frame.data.data(), taken->frame.size);
    message->timeStamp = taken->arrivedUs;
  }
  report(status, result);
}

#else

static_assert(brovasocketcan::kStandardFrameFlag == HAL_CAN_IS_FRAME_11BIT &&
              brovasocketcan::kRemoteFrameFlag == HAL_CAN_IS_FRAME_REMOTE);

HAL_CANHandle HAL_InitializeCAN(HAL_CANManufacturer, int32_t, HAL_CANDeviceType, int32_t* status) {
  return initialize(0, status);
}

void HAL_CAN_SendMessage(uint32_t messageID, const uint8_t* data, uint8_t dataSize,
                         int32_t periodMs, int32_t* status) {
  report(status, send(0, messageID, data, dataSize, periodMs));
}

void HAL_CAN_ReceiveMessage(uint32_t* messageID, uint32_t messageIDMask, uint8_t* data,
                            uint8_t* dataSize, uint32_t* timeStamp, int32_t* status) {
  if (messageID == nullptr || data == nullptr || dataSize == nullptr || timeStamp == nullptr) {
    return report(status, brovasocketcan::kStatusInvalidBuffer);
  }
  std::optional<brovasocketcan::ReceivedFrame> taken;
  const int32_t result = take(0, *messageID, messageIDMask, taken);
  if (taken) {
    *messageID = taken->frame.id;
    std::memcpy(data, taken->frame.data.data(), taken->frame.size);
    *dataSize = taken->frame.size;
    // Milliseconds of the steady clock, wrapping at 32 bits.
    *timeStamp = static_cast<uint32_t>(taken->arrivedUs / 1000);
  }
  report(status, result);
}

#endif

void HAL_CleanCAN(HAL_CANHandle) {}

}  // extern "C"
