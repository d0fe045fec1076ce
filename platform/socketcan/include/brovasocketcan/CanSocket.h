// The raw SocketCAN socket: opening it on an interface, writing a frame, reading frames until told
// to stop. Shared by the platform's link and by brova-devsim.
#pragma once

#include <cstdint>
#include <string>

#include "brovasocketcan/Frame.h"

namespace brovasocketcan {

struct OpenedSocket {
  int fd = -1;        // -1 when the socket could not be opened
  std::string error;  // why not, in the kernel's words
};

// A raw CAN socket (PF_CAN, SOCK_RAW, CAN_RAW) bound to interface `name`.
OpenedSocket openCanSocket(const std::string& name);

// Writes one frame without ever blocking: a full transmit queue is a failure, not a wait, so
// the keep-alive task's period never stretches. 0, or the negative errno of the failed write
// (-ENODEV or -ENXIO once the interface is gone).
int32_t writeFrame(int fd, const Frame& frame);

// What waitForFrame found.
enum class Read {
  Frame,    // `frame` holds the frame read
  Nothing,  // a record that is no frame (an error frame, a short read): wait again
  Failed,   // the read failed (the interface went down, for example), after a short pause
            // so that a caller waiting again does not spin
  Stopped,  // `stopFd` became readable, or the socket can carry nothing more: it was closed,
            // its peer hung up, or its interface is gone (deleted, adapter unplugged)
};

// Waits until a frame arrives on `fd`, `stopFd` (an eventfd; -1 for none) is signalled, or
// `timeoutMs` milliseconds pass (-1: no limit), which reads as Nothing.
Read waitForFrame(int fd, int stopFd, Frame& frame, int timeoutMs = -1);

}  // namespace brovasocketcan
