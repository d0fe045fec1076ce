// Motor commands: one frame each, no reply awaited, nothing reported.
#pragma once

#include <cstdint>

#include "can/Frame.h"
#include "controller/Model.h"

namespace brova::controller {

// Configure motor (API 10): byte 0 motor, bytes 1..2 the frequency's low 16 bits, little-endian.
can::Payload configureMotorPayload(uint8_t motor, int32_t frequency);

void configureMotor(const Model& model, uint8_t motor, int32_t frequency);

}  // namespace brova::controller
