// The four-channel controller's encoder entry points.
#include "BrovaDriver.h"
#include "controller/Models.h"
#include "controller/Queries.h"

using namespace brova::controller;

extern "C" {

void c_BrovaQuadEncoder_setEncoder(int32_t, double value, double* result) {
  setEncoder(value, result);
}
double c_BrovaQuadEncoder_getEncoderDistance(int32_t, uint8_t encoder, double distancePerTick,
                                             int32_t, double* result) {
  return getEncoderDistance(brovaQuadModel(), encoder, distancePerTick, result);
}
void c_BrovaQuadEncoder_resetEncoder(int32_t, uint8_t encoder) {
  resetEncoder(brovaQuadModel(), encoder);
}
double c_BrovaQuadEncoder_getRaw(int32_t, uint8_t) { return 0.0; }
double c_BrovaQuadEncoder_getSpeed(int32_t, uint8_t) { return 0.0; }
bool c_BrovaQuadEncoder_getDirection(int32_t, uint8_t) { return false; }
void c_BrovaQuadEncoder_setReverseDirection(int32_t, uint8_t) {}

}  // extern "C"
