// Telemetry, identity and encoder queries, and the encoder commands, of either model. Every
// query is one exchange; a missing reply prints its line and reads as zeros.
#pragma once

#include <cstdint>
#include <string>

#include "controller/Description.h"

namespace brova::controller {

int32_t getDeviceId(const Model& model);
int32_t getFrequency(const Model& model);
double getCurrent(const Model& model, uint8_t motor);
double getControllerTemp(const Model& model);
double getRpm(const Model& model, uint8_t motor);

// Identity texts; an empty text only when memory for it ran out.
std::string getFirmwareVersion(const Model& model) noexcept;
std::string getHardwareVersion(const Model& model) noexcept;
std::string getSerialNumber(const Model& model) noexcept;

// Count × distance per tick; also stored in `result` when it is not null.
double getEncoderDistance(const Model& model, uint8_t encoder, double distancePerTick,
                          double* result);
void resetEncoder(const Model& model, uint8_t encoder);
// Stores `value` in `result` when it is not null; nothing reaches the bus.
void setEncoder(double value, double* result);

}  // namespace brova::controller
