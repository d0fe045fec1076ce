// The driver's link to the bus: the controllers' CAN handles, and sending and receiving single
// 8-byte frames. The one place where the HAL generations differ (Link2026.cpp, Link2027.cpp:
// the build compiles the one BROVA_HAL names); every frame and result is the same with both.
#pragma once

#include <array>
#include <cstdint>

namespace brova::can {

inline constexpr std::size_t kPayloadSize = 8;
using Payload = std::array<uint8_t, kPayloadSize>;

// The platform's CAN handle for controller `device` (the controllers' maker and device type).
// The handle it gives is the caller's whatever its status, which is written to `status` when
// given. Throws what the platform throws.
int32_t initializeDevice(int32_t device, int32_t* status = nullptr);

// Releases a handle initializeDevice gave.
void cleanDevice(int32_t handle);

// Puts one frame on the bus: identifier base + device, 8 bytes, sent once. The platform's status
// is not examined: a rejected send is lost, as a frame lost on the wire would be. Never throws.
void sendFrame(uint32_t base, const Payload& payload, int32_t device);

// Takes the latest frame with identifier base + device. Returns false, leaving `reply`
// untouched, when the platform has none (any negative status, or the platform call failed);
// otherwise copies at most 8 of the reported bytes into `reply` and returns true.
bool receiveFrame(uint32_t base, Payload& reply, int32_t device);

}  // namespace brova::can
