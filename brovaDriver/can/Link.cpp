#include "can/Link.h"

#include <algorithm>

#include "can/Identifiers.h"
#include "hal/CAN.h"

namespace brova::can {

bool receiveFrame(uint32_t base, Payload& reply, int32_t device) {
  uint32_t identifier = base + static_cast<uint32_t>(device);
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
