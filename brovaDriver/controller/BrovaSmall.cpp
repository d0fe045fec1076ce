// The single-channel controller: its description and its operations. Its frames carry 0 where
// the four-channel controller carries a motor or encoder number.
#include "BrovaDriver.h"
#include "can/Console.h"
#include "controller/Commands.h"
#include "controller/Lifecycle.h"
#include "controller/Models.h"
#include "controller/Queries.h"

namespace brova::controller {
namespace {

constinit ModelState smallState;

constexpr Model kBrovaSmall{
    .state = smallState,
    .replyPause = 0.1,
    .greeting = console::kGreeting,
    .numbersChannels = false,
    .currentByte1Divisor = 1.0,
    .unknownHardware = UnknownHardware::ReadAsSmall,
};

constexpr uint8_t kOnlyChannel = 0;

}  // namespace

const Model& brovaSmallModel() { return kBrovaSmall; }

}  // namespace brova::controller

using namespace brova::controller;

extern "C" {

int32_t c_BrovaSmall_create(int16_t deviceNumber, int16_t frequency, bool* flag) {
  return create(kBrovaSmall, deviceNumber, frequency, flag, kOnlyChannel);
}
void c_BrovaSmall_destroy(int32_t handle) { destroy(kBrovaSmall, handle); }

int32_t c_BrovaSmall_getID(int32_t) { return getDeviceId(kBrovaSmall); }
int32_t c_BrovaSmall_getFrequency(int32_t) { return getFrequency(kBrovaSmall); }
std::string c_BrovaSmall_getFirmwareVersion(int32_t) { return getFirmwareVersion(kBrovaSmall); }
std::string c_BrovaSmall_getHardwareVersion(int32_t) { return getHardwareVersion(kBrovaSmall); }
std::string c_BrovaSmall_getSerialNumber(int32_t) { return getSerialNumber(kBrovaSmall); }

void c_BrovaSmall_configureMotor(int32_t, int32_t frequency) {
  configureMotor(kBrovaSmall, kOnlyChannel, frequency);
}
void c_BrovaSmall_disableMotor(int32_t) { disableMotor(kBrovaSmall, kOnlyChannel); }
void c_BrovaSmall_setMotorSpeed(int32_t, double speed) {
  setMotorSpeed(kBrovaSmall, kOnlyChannel, speed);
}
void c_BrovaSmall_setCurrentLimit(int32_t) {}
double c_BrovaSmall_getLimitSwitch(int32_t, bool) { return 0.0; }
int32_t c_BrovaSmall_getFaults(int32_t) { return 0; }
void c_BrovaSmall_clearFaults(int32_t) {}
bool c_BrovaSmall_enableSoftLimit(int32_t) { return false; }

double c_BrovaSmall_getCurrent(int32_t) { return getCurrent(kBrovaSmall, kOnlyChannel); }

void c_BrovaSmallEncoder_setEncoder(int32_t, double value, double* result) {
  setEncoder(value, result);
}
double c_BrovaSmallEncoder_getEncoderDistance(int32_t, double distancePerTick, int32_t,
                                              double* result) {
  return getEncoderDistance(kBrovaSmall, kOnlyChannel, distancePerTick, result);
}
void c_BrovaSmallEncoder_resetEncoder(int32_t) { resetEncoder(kBrovaSmall, kOnlyChannel); }
double c_BrovaSmallEncoder_getRaw(int32_t) { return 0.0; }
double c_BrovaSmallEncoder_getRPM(int32_t) { return 0.0; }
double c_BrovaSmallEncoder_getSpeed(int32_t) { return 0.0; }
bool c_BrovaSmallEncoder_getDirection(int32_t) { return false; }
void c_BrovaSmallEncoder_setReverseDirection(int32_t) {}

}  // extern "C"
