// The share of the bus that the telemetry asked for takes, and the one warning about it.
#pragma once

namespace brova::devices {

// Warns once per process and bus when `framesPerSecond`, the telemetry of every device on `bus`
// together, takes more than half of a 1 Mbit/s bus; the line names the bus when it is not 0.
// Never throws.
void warnOnBusLoad(int bus, double framesPerSecond) noexcept;

}  // namespace brova::devices
