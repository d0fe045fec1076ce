#include "analog/Transfers.h"

#include "brova/Limits.hpp"
#include "common/Console.h"
#include "common/Hal.h"
#include "common/Pause.h"

namespace brova::analog {

bool readBytes(const Board& b, int32_t count, uint8_t* buffer) {
  if (count < 1) {
    console::reportStatus(console::kReadCountOutOfRange);
    return true;
  }
  if (buffer == nullptr) {
    console::reportStatus(console::kReadBufferNull);
    return true;
  }
  return HAL_ReadI2C(b.port, b.address, buffer, count) < 0;
}

bool writeBytes(const Board& b, const uint8_t* data, int32_t count) {
  return HAL_WriteI2C(b.port, b.address, data, count) < 0;
}

bool writeRegisterByte(const Board& b, uint8_t reg, uint8_t value) {
  const uint8_t data[2] = {reg, value};
  return writeBytes(b, data, 2);
}

namespace {

// Points at `reg` and reads its 16 bits; `failed` when either transfer failed.
uint16_t readRegister(const Board& b, uint8_t reg, bool& failed) {
  failed = writeRegisterByte(b, reg, 0);
  uint8_t bytes[2] = {};
  if (readBytes(b, 2, bytes)) {
    failed = true;
    return 0;
  }
  return static_cast<uint16_t>(bytes[0] << 8 | bytes[1]);
}

}  // namespace

uint16_t readRegister(const Board& b, uint8_t reg) {
  bool failed = false;
  return readRegister(b, reg, failed);
}

bool startConversion(const Board& b, uint8_t channel) {
  const uint16_t word = configWord(b, channel);
  const uint8_t config[3] = {kConfigRegister, static_cast<uint8_t>(word >> 8),
                             static_cast<uint8_t>(word & 0xFF)};
  return writeBytes(b, config, 3);
}

Conversion readConversion(const Board& b) {
  Conversion result;
  result.raw = rawFromConversion(readRegister(b, kConversionRegister, result.failed));
  return result;
}

Conversion convert(const Board& b, uint8_t channel) {
  if (channel >= kAnalogInputs) return {};
  const bool startFailed = startConversion(b, channel);
  pause(kConversionWait);
  Conversion result = readConversion(b);
  result.failed = result.failed || startFailed;
  return result;
}

int32_t readChannel(const Board& b, uint8_t channel) { return convert(b, channel).raw; }

bool probeDevice(const Board& b) {
  uint8_t byte = 0;
  if (readBytes(b, 1, &byte)) {
    console::reportStatus(console::kI2CNotConnected);
    return false;
  }
  console::reportStatus(console::kI2CConnected);
  return true;
}

}  // namespace brova::analog
