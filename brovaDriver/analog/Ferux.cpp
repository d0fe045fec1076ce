// The analog board's operations.
#include <mutex>

#include "BrovaDriver.h"
#include "analog/Transfers.h"
#include "hal/I2C.h"

using namespace brova::analog;

extern "C" {

bool c_initializeI2C(int32_t fullScaleVoltage) {
  Board& b = board();
  std::lock_guard lock(b.lock);
  b.fullScaleVoltage = static_cast<float>(fullScaleVoltage);
  b.gainBits = kGain2048mV;
  b.dataRateBits = kRate1600;
  // The port's status is not examined: the probe tells whether the board answers.
  int32_t status = 0;
  HAL_InitializeI2C(b.port, &status);
  return probeDevice(b);
}

int32_t c_getRawValue(uint8_t channel) {
  Board& b = board();
  std::lock_guard lock(b.lock);
  return readChannel(b, channel);
}

float c_getVoltage(uint8_t channel) {
  Board& b = board();
  std::lock_guard lock(b.lock);
  return voltsFromRaw(readChannel(b, channel), b.fullScaleVoltage);
}

void c_closeI2C() {
  Board& b = board();
  std::lock_guard lock(b.lock);
  HAL_CloseI2C(b.port);
}

}  // extern "C"
