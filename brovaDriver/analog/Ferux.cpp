#include "analog/Ferux.h"

#include <mutex>

#include "analog/Transfers.h"
#include "common/Hal.h"

namespace brova::analog {

bool initialize(int32_t fullScaleVoltage) {
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

int32_t rawValue(uint8_t channel) {
  Board& b = board();
  std::lock_guard lock(b.lock);
  return readChannel(b, channel);
}

float voltage(uint8_t channel) {
  Board& b = board();
  std::lock_guard lock(b.lock);
  return voltsFromRaw(readChannel(b, channel), b.fullScaleVoltage);
}

Conversion conversion(uint8_t channel) {
  Board& b = board();
  std::lock_guard lock(b.lock);
  return convert(b, channel);
}

void close() {
  Board& b = board();
  std::lock_guard lock(b.lock);
  HAL_CloseI2C(b.port);
}

}  // namespace brova::analog
