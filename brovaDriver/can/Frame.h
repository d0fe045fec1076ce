// Sending and receiving single 8-byte frames, and the pause between a request and its reply.
#pragma once

#include <array>
#include <cstdint>

namespace brova::can {

inline constexpr std::size_t kPayloadSize = 8;
using Payload = std::array<uint8_t, kPayloadSize>;

// Puts one frame on the bus: identifier base + device, 8 bytes, sent once. The platform's status
// is not examined: a rejected send is lost, as a frame lost on the wire would be. Never throws.
void sendFrame(uint32_t base, const Payload& payload, int32_t device);

// Takes the latest frame with identifier base + device. Returns false, leaving `reply`
// untouched, when the platform has none (any negative status, or the platform call failed);
// otherwise copies at most 8 of the reported bytes into `reply` and returns true.
bool receiveFrame(uint32_t base, Payload& reply, int32_t device);

// Sleeps the calling thread for `seconds`, truncated to whole milliseconds.
void pause(double seconds);

}  // namespace brova::can
