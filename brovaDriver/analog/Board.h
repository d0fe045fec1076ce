// The Ferux analog board: a four-input 12-bit converter with the ADS1015 register map, read by
// single-shot conversions over I2C. The library drives one board; its port, address and
// configuration live here.
#pragma once

#include <cstdint>
#include <mutex>

#include "common/Hal.h"

namespace brova::analog {

inline constexpr uint8_t kConversionRegister = 0;
inline constexpr uint8_t kConfigRegister = 1;

inline constexpr int32_t kStartConversion = 0x8000;      // OS: start a single conversion
inline constexpr int32_t kSingleEndedChannel0 = 0x4000;  // MUX: AINn against ground = 0b100 + n
inline constexpr int32_t kMuxStep = 0x1000;
inline constexpr int32_t kGain2048mV = 0x0400;  // PGA: ±2.048 V input range
inline constexpr int32_t kRate1600 = 0x0080;    // DR: 1600 samples per second
inline constexpr float kCountsAtFullScale = 2048.0f;

// The board's configuration. Guarded by `lock`, which a reading holds from its first transfer
// to its last, so concurrent readings never read each other's conversions.
struct Board {
  std::mutex lock;
  HAL_I2CPort port = kI2CPort1;
  int32_t address = 0x48;
  float fullScaleVoltage = 0.0f;
  int32_t gainBits = 0;
  int32_t dataRateBits = 0;
};

// The one board. Constant-initialised and never destroyed.
Board& board();

// The configuration word that starts a single-ended conversion of `channel` (0..3).
uint16_t configWord(const Board& b, uint8_t channel);

// The 12-bit result in a conversion register value (bits 15..4). The converter reports a
// signed result; a single-ended input reads below zero only through offset or noise, so a
// result with its sign bit set reads as 0.
int32_t rawFromConversion(uint16_t conversion);

// `raw` in volts: raw × (full scale / 2048), in single precision.
float voltsFromRaw(int32_t raw, float fullScaleVoltage);

}  // namespace brova::analog
