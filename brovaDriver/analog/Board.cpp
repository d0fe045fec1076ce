#include "analog/Board.h"

#include <type_traits>

namespace brova::analog {

namespace {
constinit Board theBoard;
static_assert(std::is_trivially_destructible_v<Board>);
}  // namespace

Board& board() { return theBoard; }

uint16_t configWord(const Board& b, uint8_t channel) {
  return static_cast<uint16_t>(kStartConversion | b.dataRateBits | b.gainBits |
                               (kSingleEndedChannel0 + kMuxStep * channel));
}

int32_t rawFromConversion(uint16_t conversion) {
  if (conversion & 0x8000) return 0;
  return conversion >> 4;
}

float voltsFromRaw(int32_t raw, float fullScaleVoltage) {
  return static_cast<float>(raw) * (fullScaleVoltage / kCountsAtFullScale);
}

}  // namespace brova::analog
