// The share of the bus that the telemetry asked for takes, and the one warning about it.
#pragma once

namespace brova::devices {

// Warns once per process when `framesPerSecond`, every device's telemetry together, takes more
// than half of a 1 Mbit/s bus. Never throws.
void warnOnBusLoad(double framesPerSecond) noexcept;

}  // namespace brova::devices
