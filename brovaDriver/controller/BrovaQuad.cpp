// The four-channel controller: its description and its operations. Frames name the motor or
// encoder in byte 0.
#include "BrovaDriver.h"
#include "controller/Commands.h"
#include "controller/Lifecycle.h"
#include "controller/Models.h"
#include "controller/Queries.h"

namespace brova::controller {
namespace {

constinit ModelState quadState;

constexpr Model kBrovaQuad{
    .state = quadState,
    .replyPause = 0.01,
    .greeting = {},
    .numbersChannels = true,
    .currentByte1Divisor = 100.0,
    .unknownHardware = UnknownHardware::NoHardwareFound,
};

}  // namespace

const Model& brovaQuadModel() { return kBrovaQuad; }

}  // namespace brova::controller

using namespace brova::controller;

extern "C" {

int32_t c_BrovaQuad_create(int16_t deviceNumber, int16_t frequency, bool* flag, uint8_t motor) {
  return create(kBrovaQuad, deviceNumber, frequency, flag, motor);
}
void c_BrovaQuad_destroy(int32_t handle) { destroy(kBrovaQuad, handle); }

int32_t c_BrovaQuad_getID(int32_t) { return getDeviceId(kBrovaQuad); }
int32_t c_BrovaQuad_getFrequency(int32_t) { return getFrequency(kBrovaQuad); }
std::string c_BrovaQuad_getFirmwareVersion(int32_t) { return getFirmwareVersion(kBrovaQuad); }
std::string c_BrovaQuad_getHardwareVersion(int32_t) { return getHardwareVersion(kBrovaQuad); }
std::string c_BrovaQuad_getSerialNumber(int32_t) { return getSerialNumber(kBrovaQuad); }

void c_BrovaQuad_configureMotor(int32_t, int32_t frequency, uint8_t motor) {
  configureMotor(kBrovaQuad, motor, frequency);
}
void c_BrovaQuad_disableMotor(int32_t, uint8_t motor) { disableMotor(kBrovaQuad, motor); }
void c_BrovaQuad_setMotorSpeed(int32_t, uint8_t motor, double speed) {
  setMotorSpeed(kBrovaQuad, motor, speed);
}
void c_BrovaQuad_setCurrentLimit(int32_t, uint8_t) {}
double c_BrovaQuad_getLimitSwitch(int32_t, uint8_t, bool) { return 0.0; }
int32_t c_BrovaQuad_getFaults(int32_t, uint8_t) { return 0; }
void c_BrovaQuad_clearFaults(int32_t, uint8_t) {}
bool c_BrovaQuad_enableSoftLimit(int32_t, uint8_t) { return false; }

double c_BrovaQuad_getCurrent(int32_t, uint8_t motor) { return getCurrent(kBrovaQuad, motor); }
double c_BrovaQuad_getControllerTemp(int32_t) { return getControllerTemp(kBrovaQuad); }
double c_BrovaQuad_getRPM(int32_t, uint8_t motor) { return getRpm(kBrovaQuad, motor); }

void c_BrovaQuadEncoder_setEncoder(int32_t, double value, double* result) {
  setEncoder(value, result);
}
double c_BrovaQuadEncoder_getEncoderDistance(int32_t, uint8_t encoder, double distancePerTick,
                                             int32_t, double* result) {
  return getEncoderDistance(kBrovaQuad, encoder, distancePerTick, result);
}
void c_BrovaQuadEncoder_resetEncoder(int32_t, uint8_t encoder) {
  resetEncoder(kBrovaQuad, encoder);
}
double c_BrovaQuadEncoder_getRaw(int32_t, uint8_t) { return 0.0; }
double c_BrovaQuadEncoder_getSpeed(int32_t, uint8_t) { return 0.0; }
bool c_BrovaQuadEncoder_getDirection(int32_t, uint8_t) { return false; }
void c_BrovaQuadEncoder_setReverseDirection(int32_t, uint8_t) {}

}  // extern "C"
