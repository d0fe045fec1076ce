// The link over the HAL generation whose CAN calls take a bare identifier, a mask and separate
// data, size and time-stamp arguments (hal/ headers). They name no bus: the robot has one, and an
// address on another reaches nothing (the objects refuse such an address before it comes here).
#include <algorithm>

#include "can/Identifiers.h"
#include "can/Link.h"
#include "hal/CAN.h"
#include "hal/CANAPI.h"
#include "hal/Errors.h"

namespace brova::can {

int32_t busCount() { return 1; }

int32_t initializeDevice(Address address, int32_t* status) {
  if (address.bus != 0) {
    if (status != nullptr) *status = PARAMETER_OUT_OF_RANGE;
    return 0;
  }
  int32_t reported = 0;
  const int32_t handle =
      HAL_InitializeCAN(static_cast<HAL_CANManufacturer>(kManufacturer), address.device,
                        static_cast<HAL_CANDeviceType>(kDeviceTypeMotorController), &reported);
  if (status != nullptr) *status = reported;
  return handle;
}

void cleanDevice(int32_t handle) { HAL_CleanCAN(handle); }

void sendFrame(uint32_t base, const Payload& payload, Address address) {
  if (address.bus != 0) return;
  int32_t status = 0;
  try {
    HAL_CAN_SendMessage(base + static_cast<uint32_t>(address.device), payload.data(), kPayloadSize,
                        HAL_CAN_SEND_PERIOD_NO_REPEAT, &status);
  } catch (...) {
    // A platform that throws has lost the frame like one that reports a status.
  }
}

bool receiveFrame(uint32_t base, Payload& reply, Address address) {
  if (address.bus != 0) return false;
  uint32_t identifier = base + static_cast<uint32_t>(address.device);
  uint8_t data[kPayloadSize] = {};
  uint8_t size = 0;
  uint32_t timeStamp = 0;
  int32_t status = 0;
  try {
    HAL_CAN_ReceiveMessage(&identifier, kFullIdentifierMask, data, &size, &timeStamp, &status);
  } catch (...) {
    return false;
  }
  // Every negative status is a frame not taken (timed out, not found, or any other error);
  // zero and positive warnings come with a frame.
  if (status < 0) return false;
  std::copy_n(data, std::min<std::size_t>(size, kPayloadSize), reply.begin());
  return true;
}

}  // namespace brova::can
