// The telemetry of every open device, read by one thread. Each device runs its own rounds:
// its waves (Rounds.h) one after another, a round at most once per period. A wave's requests go
// out together, after whatever is kept on their reply identifiers is dropped, and not before a
// late reply awaited on one of them came or its wait ended (controller/Replies.h). Their replies
// are first looked for a little before the last wave's took to come, then every 200 µs, and
// each is taken as soon as it has come, until the model's reply pause has passed since the wave
// went out. While a wave is outstanding the thread holds the device's exchange lock, taken
// without blocking, so a blocking query and the telemetry never overlap on one device and a
// device held by a query never delays the others. While a device is on the thread, its readings
// stay fresh for three rounds (a round: the period, or one reply pause per wave when longer).
#pragma once

#include <chrono>

#include "devices/Device.h"
#include "devices/State.h"

namespace brova::devices::telemetry {

// Puts `device` on the thread with `choice` and `period`, replacing what it had, and warns when
// the telemetry of every device on its bus together takes more than half that bus. Throws
// std::system_error when the thread cannot start, std::bad_alloc when memory runs out; the device
// is not on the thread then.
void start(Device::State& device, std::chrono::nanoseconds period, Choice choice);

// Takes `device` off the thread; when this returns, the thread no longer touches it. A wave
// under way is abandoned: its readings are left as they were.
void stop(Device::State& device) noexcept;

}  // namespace brova::devices::telemetry
