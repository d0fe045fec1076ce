// A CAN frame as the platform's HAL functions see it, and as the kernel's SocketCAN sockets carry
// it (struct can_frame).
#pragma once

#include <linux/can.h>

#include <array>
#include <cstdint>
#include <optional>

namespace brovasocketcan {

// Flags in a Frame's identifier: the values the HAL's CAN calls give HAL_CAN_IS_FRAME_11BIT and
// HAL_CAN_IS_FRAME_REMOTE where it has them.
inline constexpr uint32_t kStandardFrameFlag = 0x40000000;
inline constexpr uint32_t kRemoteFrameFlag = 0x80000000;

// `id` is the platform's identifier: 29 bits, or 11 bits with kStandardFrameFlag, plus
// kRemoteFrameFlag for a remote frame.
struct Frame {
  uint32_t id = 0;
  std::array<uint8_t, 8> data{};
  uint8_t size = 0;  // 0..8
};

// The frame to write: extended unless the identifier says 11-bit; `size` above 8 is cut to 8.
can_frame toCanFrame(const Frame& frame);
// The frame read, in the platform's terms; nothing for an error frame.
std::optional<Frame> fromCanFrame(const can_frame& frame);

}  // namespace brovasocketcan
