// The four-channel controller's entry points. The handle is used by destroy only: every other
// operation addresses the device of the model's most recent create.
#include "BrovaDriver.h"
#include "controller/Commands.h"
#include "controller/Lifecycle.h"
#include "controller/Models.h"
#include "controller/Queries.h"

using namespace brova::controller;

extern "C" {

int32_t c_BrovaQuad_create(int16_t deviceNumber, int16_t frequency, bool* flag, uint8_t motor) {
  return create(brovaQuadModel(), deviceNumber, frequency, flag, motor);
}
void c_BrovaQuad_destroy(int32_t handle) { destroy(brovaQuadModel(), handle); }

int32_t c_BrovaQuad_getID(int32_t) { return getDeviceId(brovaQuadModel()); }
int32_t c_BrovaQuad_getFrequency(int32_t) { return getFrequency(brovaQuadModel()); }
std::string c_BrovaQuad_getFirmwareVersion(int32_t) { return getFirmwareVersion(brovaQuadModel()); }
std::string c_BrovaQuad_getHardwareVersion(int32_t) { return getHardwareVersion(brovaQuadModel()); }
std::string c_BrovaQuad_getSerialNumber(int32_t) { return getSerialNumber(brovaQuadModel()); }

void c_BrovaQuad_configureMotor(int32_t, int32_t frequency, uint8_t motor) {
  configureMotor(brovaQuadModel(), motor, frequency);
}
void c_BrovaQuad_disableMotor(int32_t, uint8_t motor) { disableMotor(brovaQuadModel(), motor); }
void c_BrovaQuad_setMotorSpeed(int32_t, uint8_t motor, double speed) {
  setMotorSpeed(brovaQuadModel(), motor, speed);
}
void c_BrovaQuad_setCurrentLimit(int32_t, uint8_t) {}
double c_BrovaQuad_getLimitSwitch(int32_t, uint8_t, bool) { return 0.0; }
int32_t c_BrovaQuad_getFaults(int32_t, uint8_t) { return 0; }
void c_BrovaQuad_clearFaults(int32_t, uint8_t) {}
bool c_BrovaQuad_enableSoftLimit(int32_t, uint8_t) { return false; }

double c_BrovaQuad_getCurrent(int32_t, uint8_t motor) {
  return getCurrent(brovaQuadModel(), motor);
}
double c_BrovaQuad_getControllerTemp(int32_t) { return getControllerTemp(brovaQuadModel()); }
double c_BrovaQuad_getRPM(int32_t, uint8_t motor) { return getRpm(brovaQuadModel(), motor); }

}  // extern "C"
