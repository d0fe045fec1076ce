#include "controller/Commands.h"

#include <cmath>

#include "can/Identifiers.h"

namespace brova::controller {

namespace {
constexpr double kSpeedScale = 100.0;
constexpr double kLargestMagnitude = 255.0;
}  // namespace

can::Payload configureMotorPayload(uint8_t motor, int32_t frequency) {
  can::Payload payload{};
  payload[0] = motor;
  payload[1] = static_cast<uint8_t>(frequency & 0xFF);
  payload[2] = static_cast<uint8_t>((frequency >> 8) & 0xFF);
  return payload;
}

can::Payload motorSpeedPayload(uint8_t motor, double speed) {
  const double scaled = speed * kSpeedScale;
  can::Payload payload{};
  payload[0] = motor;
  if (!std::isnan(scaled)) {
    // Truncated, not rounded (0.29 sends 28); saturated rather than wrapped (3.0 sends 255).
    const double magnitude = std::fabs(scaled);
    payload[1] = magnitude >= kLargestMagnitude ? 255 : static_cast<uint8_t>(magnitude);
  }
  payload[2] = scaled >= 0 ? 1 : 0;
  payload[3] = scaled <= 0 ? 1 : 0;
  return payload;
}

can::Payload channelPayload(uint8_t channel) {
  can::Payload payload{};
  payload[0] = channel;
  return payload;
}

void configureMotor(const Model& model, uint8_t motor, int32_t frequency) {
  can::sendFrame(can::kConfigureMotor, configureMotorPayload(motor, frequency), model.device());
}

void setMotorSpeed(const Model& model, uint8_t motor, double speed) {
  can::sendFrame(can::kSetMotorSpeed, motorSpeedPayload(motor, speed), model.device());
}

void disableMotor(const Model& model, uint8_t motor) {
  can::sendFrame(can::kDisableMotor, channelPayload(motor), model.device());
}

}  // namespace brova::controller
