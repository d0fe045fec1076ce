// The simulation objects' reads and writes of a simulated device's values (controller/Simulated.h,
// analog/Ferux.h), over the device itself: for the C++ classes (brova/sim/) and the Java classes'
// natives (SimulatedJNI.cpp) alike. Each throws std::invalid_argument for a channel or input the
// device lacks or a value that is not a number, then std::logic_error when the device is closed
// ("BrovaQuad on device 5 is closed", "Ferux analog board is closed").
#pragma once

#include "controller/Simulated.h"
#include "devices/AnalogBoard.h"
#include "devices/Device.h"

namespace brova::detail::simulated {

using controller::simulated::Quantity;

// `quantity` of channel `channel`: an encoder count too is a double.
double value(const devices::Device& device, int channel, Quantity quantity);
// Sets it; a load is clamped to 0..1.
void setValue(const devices::Device& device, int channel, Quantity quantity, double value);
bool enabled(const devices::Device& device);
double temperature(const devices::Device& device);
void setTemperature(const devices::Device& device, double celsius);

double voltage(const devices::AnalogBoard& board, int input);
void setVoltage(const devices::AnalogBoard& board, int input, double volts);

}  // namespace brova::detail::simulated
