// The driver's link to the bus: sending and receiving single 8-byte frames.
#pragma once

#include <array>
#include <cstdint>

#include "hal/CAN.h"

namespace brova::can {

inline constexpr std::size_t kPayloadSize = 8;
using Payload = std::array<uint8_t, kPayloadSize>;

// Puts one frame on the bus: identifier base + device, 8 bytes, sent once. The platform's status
// is not examined: a rejected send is lost, as a frame lost on the wire would be. Never throws.
// Inline: a command costs its platform call and hardly more.
inline void sendFrame(uint32_t base, const Payload& payload, int32_t device) {
  int32_t status = 0;
  try {
    HAL_CAN_SendMessage(base + static_cast<uint32_t>(device), payload.data(), kPayloadSize,
                        HAL_CAN_SEND_PERIOD_NO_REPEAT, &status);
  } catch (...) {
    // A platform that throws has lost the frame like one that reports a status.
  }
}

// Takes the latest frame with identifier base + device. Returns false, leaving `reply`
// untouched, when the platform has none (any negative status, or the platform call failed);
// otherwise copies at most 8 of the reported bytes into `reply` and returns true.
bool receiveFrame(uint32_t base, Payload& reply, int32_t device);

}  // namespace brova::can
