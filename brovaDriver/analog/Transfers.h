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
// Points at `reg` and reads its 16 bits, most significant byte first; a failed transfer reads
// as zeros.
uint16_t readRegister(const Board& b, uint8_t reg);
// One conversion of `channel`: configuration write, 1 ms, conversion register read. 0 for a
// channel above 3, without bus traffic. The caller holds the board's lock.
int32_t readChannel(const Board& b, uint8_t channel);
// A one-byte read; prints whether the converter answered.
bool probeDevice(const Board& b);

}  // namespace brova::analog
