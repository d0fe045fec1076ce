// The link over the HAL generation whose CAN calls name a bus and carry frames as
// HAL_CANMessage values (wpi/hal/ headers). Every call names the controller's bus; a frame is sent
// as a classic CAN frame (flags 0) of 8 bytes; the receive time stamp is not used.
#include <algorithm>

#include "brova/Limits.hpp"
#include "can/Identifiers.h"
#include "can/Link.h"
#include "wpi/hal/CAN.h"
#include "wpi/hal/CANAPI.h"

namespace brova::can {
namespace {

constexpr int32_t kClassicFrame = 0;

}  // namespace

int32_t busCount() { return kHighestBus + 1; }

int32_t initializeDevice(Address address, int32_t* status) {
  int32_t reported = 0;
  const int32_t handle = HAL_InitializeCAN(
      address.bus, static_cast<HAL_CANManufacturer>(kManufacturer), address.device,
      static_cast<HAL_CANDeviceType>(kDeviceTypeMotorController), &reported);
  if (status != nullptr) *status = reported;
  return handle;
}

void cleanDevice(int32_t handle) { HAL_CleanCAN(handle); }

void sendFrame(uint32_t base, const Payload& payload, Address address) {
  HAL_CANMessage message{};
  message.flags = kClassicFrame;
  message.dataSize = kPayloadSize;
  std::copy(payload.begin(), payload.end(), message.data);
  int32_t status = 0;
  try {
    HAL_CAN_SendMessage(address.bus, base + static_cast<uint32_t>(address.device), &message,
                        HAL_CAN_SEND_PERIOD_NO_REPEAT, &status);
  } catch (...) {
    // A platform that throws has lost the frame like one that reports a status.
  }
}

bool receiveFrame(uint32_t base, Payload& reply, Address address) {
  HAL_CANReceiveMessage received{};
  int32_t status = 0;
  try {
    HAL_CAN_ReceiveMessage(address.bus, base + static_cast<uint32_t>(address.device), &received,
                           &status);
  } catch (...) {
    return false;
  }
  // Every negative status is a frame not taken (not found, or any other error); zero and
  // positive warnings come with a frame.
  if (status < 0) return false;
  std::copy_n(received.message.data, std::min<std::size_t>(received.message.dataSize, kPayloadSize),
              reply.begin());
  return true;
}

}  // namespace brova::can
