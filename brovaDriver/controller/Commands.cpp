#include "controller/Commands.h"

#include <bit>
#include <cmath>

#include "can/Identifiers.h"

namespace brova::controller {

namespace {
constexpr double kSpeedScale = 100.0;
constexpr double kLargestMagnitude = 255.0;

// The payload whose bytes 0..7 are `value`'s, least significant first, built in a register:
// setting bytes one by one into a zeroed array made the compiler write overlapping stores and
// read them straight back, a store-forwarding stall that cost a command more than its own work.
can::Payload payloadOf(uint64_t value) {
  if constexpr (std::endian::native == std::endian::little) {
    return std::bit_cast<can::Payload>(value);
  } else {
    can::Payload payload{};
    for (auto& byte : payload) {
      byte = static_cast<uint8_t>(value & 0xFF);
      value >>= 8;
    }
    return payload;
  }
}

}  // namespace

can::Payload configureMotorPayload(uint8_t motor, int32_t frequency) {
  return payloadOf(motor | static_cast<uint64_t>(frequency & 0xFFFF) << 8);
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

can::Payload channelPayload(uint8_t channel) { return payloadOf(channel); }

void configureMotor(const Model& model, uint8_t motor, int32_t frequency) {
  can::sendFrame(can::kConfigureMotor, configureMotorPayload(motor, frequency), model.address());
}

void setMotorSpeed(const Model& model, uint8_t motor, double speed) {
  can::sendFrame(can::kSetMotorSpeed, motorSpeedPayload(motor, speed), model.address());
}

void disableMotor(const Model& model, uint8_t motor) {
  can::sendFrame(can::kDisableMotor, channelPayload(motor), model.address());
}

}  // namespace brova::controller
