// The Ferux analog board's entry points.
#include "analog/Ferux.h"

#include "BrovaDriver.h"

extern "C" {

bool c_initializeI2C(int32_t fullScaleVoltage) {
  return brova::analog::initialize(fullScaleVoltage);
}
void c_closeI2C() { brova::analog::close(); }
int32_t c_getRawValue(uint8_t channel) { return brova::analog::rawValue(channel); }
float c_getVoltage(uint8_t channel) { return brova::analog::voltage(channel); }

}  // extern "C"
