#include "controller/Commands.h"

#include "can/Identifiers.h"

namespace brova::controller {

can::Payload configureMotorPayload(uint8_t motor, int32_t frequency) {
  can::Payload payload{};
  payload[0] = motor;
  payload[1] = static_cast<uint8_t>(frequency & 0xFF);
  payload[2] = static_cast<uint8_t>((frequency >> 8) & 0xFF);
  return payload;
}

void configureMotor(const Model& model, uint8_t motor, int32_t frequency) {
  can::sendFrame(can::kConfigureMotor, configureMotorPayload(motor, frequency), model.device());
}

}  // namespace brova::controller
