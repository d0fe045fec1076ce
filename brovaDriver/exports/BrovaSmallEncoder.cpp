// The single-channel controller's encoder entry points.
#include "BrovaDriver.h"
#include "controller/Models.h"
#include "controller/Queries.h"

using namespace brova::controller;

extern "C" {

void c_BrovaSmallEncoder_setEncoder(int32_t, double value, double* result) {
  setEncoder(value, result);
}
double c_BrovaSmallEncoder_getEncoderDistance(int32_t, double distancePerTick, int32_t,
                                              double* result) {
  return getEncoderDistance(brovaSmallModel(), kOnlyChannel, distancePerTick, result);
}
void c_BrovaSmallEncoder_resetEncoder(int32_t) { resetEncoder(brovaSmallModel(), kOnlyChannel); }
double c_BrovaSmallEncoder_getRaw(int32_t) { return 0.0; }
double c_BrovaSmallEncoder_getRPM(int32_t) { return 0.0; }
double c_BrovaSmallEncoder_getSpeed(int32_t) { return 0.0; }
bool c_BrovaSmallEncoder_getDirection(int32_t) { return false; }
void c_BrovaSmallEncoder_setReverseDirection(int32_t) {}

}  // extern "C"
