// Transfers to the board. The transfer operations return true when they failed.
#pragma once

#include <cstdint>

#include "analog/Board.h"

namespace brova::analog {

// One read of `count` bytes; "Read count bytes out of range [1;)" or "Read buffer is null"
// without a transfer for a bad request.
bool readBytes(const Board& b, int32_t count, uint8_t* buffer);
// One write of `count` bytes.
bool writeBytes(const Board& b, const uint8_t* data, int32_t count);
// One two-byte write: register pointer, value.
bool writeRegisterByte(const Board& b, uint8_t reg, uint8_t value);
// Points at `reg` and reads its 16 bits, most significant byte first; a failed read reads as
// zeros.
uint16_t readRegister(const Board& b, uint8_t reg);

// What a conversion read: the count (0..2047), and whether one of its transfers failed, so that
// a failure is told from a conversion of 0 V. The count is what the conversion register's bytes
// gave even then: 0 when the read failed, the register's last value when only a write did.
struct Conversion {
  int32_t raw = 0;
  bool failed = false;
};

// How long a conversion takes, from its configuration write to its result: 1 ms.
inline constexpr double kConversionWait = 0.001;

// The two halves of a conversion, for a caller that does not wait in between; the caller holds
// the board's lock from the first to the second. The channel is 0..3.
// Writes the configuration word that starts a conversion of `channel`; true when it failed.
bool startConversion(const Board& b, uint8_t channel);
// Reads the result of the conversion started last.
Conversion readConversion(const Board& b);

// One conversion of `channel`: configuration write, 1 ms, conversion register read. A count of 0
// for a channel above 3, without bus traffic. The caller holds the board's lock.
Conversion convert(const Board& b, uint8_t channel);
// convert's count, whether or not a transfer failed.
int32_t readChannel(const Board& b, uint8_t channel);
// A one-byte read; prints whether the converter answered.
bool probeDevice(const Board& b);

}  // namespace brova::analog
