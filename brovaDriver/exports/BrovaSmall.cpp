// The single-channel controller's entry points. The handle is used by destroy only: every other
// operation addresses the device of the model's most recent create.
#include "BrovaDriver.h"
#include "controller/Commands.h"
#include "controller/Lifecycle.h"
#include "controller/Models.h"
#include "controller/Queries.h"

using namespace brova::controller;

extern "C" {

int32_t c_BrovaSmall_create(int16_t deviceNumber, int16_t frequency, bool* flag) {
  return create(brovaSmallModel(), deviceNumber, frequency, flag, kOnlyChannel);
}
void c_BrovaSmall_destroy(int32_t handle) { destroy(brovaSmallModel(), handle); }

int32_t c_BrovaSmall_getID(int32_t) { return getDeviceId(brovaSmallModel()); }
int32_t c_BrovaSmall_getFrequency(int32_t) { return getFrequency(brovaSmallModel()); }
std::string c_BrovaSmall_getFirmwareVersion(int32_t) {
  return getFirmwareVersion(brovaSmallModel());
}
std::string c_BrovaSmall_getHardwareVersion(int32_t) {
  return getHardwareVersion(brovaSmallModel());
}
std::string c_BrovaSmall_getSerialNumber(int32_t) { return getSerialNumber(brovaSmallModel()); }

void c_BrovaSmall_configureMotor(int32_t, int32_t frequency) {
  configureMotor(brovaSmallModel(), kOnlyChannel, frequency);
}
void c_BrovaSmall_disableMotor(int32_t) { disableMotor(brovaSmallModel(), kOnlyChannel); }
void c_BrovaSmall_setMotorSpeed(int32_t, double speed) {
  setMotorSpeed(brovaSmallModel(), kOnlyChannel, speed);
}
void c_BrovaSmall_setCurrentLimit(int32_t) {}
double c_BrovaSmall_getLimitSwitch(int32_t, bool) { return 0.0; }
int32_t c_BrovaSmall_getFaults(int32_t) { return 0; }
void c_BrovaSmall_clearFaults(int32_t) {}
bool c_BrovaSmall_enableSoftLimit(int32_t) { return false; }

double c_BrovaSmall_getCurrent(int32_t) { return getCurrent(brovaSmallModel(), kOnlyChannel); }

}  // extern "C"
