// Motor commands: one frame each, no reply awaited, nothing reported.
#pragma once

#include <cstdint>

#include "can/Link.h"
#include "controller/Description.h"

namespace brova::controller {

// Configure motor (API 10): byte 0 motor, bytes 1..2 the frequency's low 16 bits, little-endian.
can::Payload configureMotorPayload(uint8_t motor, int32_t frequency);

// Set motor speed (API 14): byte 0 motor; byte 1 the whole part of |speed × 100|, 255 at and
// beyond 255; byte 2 set for speed × 100 >= 0; byte 3 set for speed × 100 <= 0 (both for a
// zero, neither for NaN).
can::Payload motorSpeedPayload(uint8_t motor, double speed);

// Frames that carry only a motor or encoder number in byte 0 (disable motor, reset encoder).
can::Payload channelPayload(uint8_t channel);

void configureMotor(const Model& model, uint8_t motor, int32_t frequency);
void setMotorSpeed(const Model& model, uint8_t motor, double speed);
void disableMotor(const Model& model, uint8_t motor);

}  // namespace brova::controller
