// The driver's link to the bus: the controllers' CAN handles, and sending and receiving single
// 8-byte frames. The one place where the HAL generations differ (Link2026.cpp, Link2027.cpp:
// the build compiles the one BROVA_HAL names); every frame and result is the same with both.
#pragma once

#include <array>
#include <cstdint>

namespace brova::can {

inline constexpr std::size_t kPayloadSize = 8;
using Payload = std::array<uint8_t, kPayloadSize>;

// Where a controller is: the CAN bus it is on and its device number there.
struct Address {
  int32_t bus = 0;
  int32_t device = 0;
  friend bool operator==(const Address&, const Address&) = default;
};

// How many buses this HAL generation can name, 0..busCount()-1: one where its calls name no bus;
// which of them a robot has is the platform's to say (HAL_InitializeCAN's status).
int32_t busCount();

// The platform's CAN handle for the controller at `address` (the controllers' maker and device
// type).
// The handle it gives is the caller's whatever its status, which is written to `status` when
// given. Throws what the platform throws.
int32_t initializeDevice(Address address, int32_t* status = nullptr);

// Releases a handle initializeDevice gave.
void cleanDevice(int32_t handle);

// Puts one frame on the address's bus: identifier base + device, 8 bytes, sent once. The platform's
// status is not examined: a rejected send is lost, as a frame lost on the wire would be. Never
// throws.
void sendFrame(uint32_t base, const Payload& payload, Address address);

// Takes the latest frame with identifier base + device on the address's bus. Returns false, leaving
// `reply` untouched, when the platform has none (any negative status, or the platform call failed);
// otherwise copies at most 8 of the reported bytes into `reply` and returns true.
bool receiveFrame(uint32_t base, Payload& reply, Address address);

}  // namespace brova::can
