// The keep-alive frames of every open device, from one thread: every 100 ms each device gets
// the frame the robot state calls for (controller/KeepAlive.h), and a device just added gets
// its first at once. The thread starts on the first add and stays, parked while no device is
// registered; it never holds the process at exit.
#pragma once

#include "can/Link.h"

namespace brova::devices::keepalive {

// Throws std::system_error when the thread cannot start, std::bad_alloc when memory runs out;
// the device is not added then.
void add(can::Address device);

// No keep-alive frame goes to `device` after this returns. Never throws.
void remove(can::Address device) noexcept;

}  // namespace brova::devices::keepalive
