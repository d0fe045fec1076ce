// The analog board's operations, each under the board's lock.
#pragma once

#include <cstdint>

#include "analog/Transfers.h"

namespace brova::analog {

// Opens the board's port, sets the voltage 2048 counts stand for, and probes the board:
// prints whether it answered and returns that.
bool initialize(int32_t fullScaleVoltage);
// Closes the board's port.
void close();
// One conversion of `channel`, in counts (0..2047) or in volts; 0 for a channel above 3.
int32_t rawValue(uint8_t channel);
float voltage(uint8_t channel);
// Input `channel`'s voltage (0..3) on the board's simulated device, while its port is open:
// what the device models convert (common/Simulation.h). 0, and nothing set, elsewhere.
double simulatedVoltage(int channel);
void setSimulatedVoltage(int channel, double volts);
// One conversion of `channel` (0..3), telling whether a transfer failed.
Conversion conversion(uint8_t channel);

}  // namespace brova::analog
