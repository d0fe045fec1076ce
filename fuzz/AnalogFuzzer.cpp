// Any conversion register value and full-scale voltage, against the converter's signed 12-bit
// result read as a single-ended input.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "analog/Board.h"

namespace {
void require(bool ok) {
  if (!ok) std::abort();
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* input, size_t size) {
  using namespace brova::analog;
  if (size < 6) return 0;
  const uint16_t conversion = static_cast<uint16_t>(input[0] << 8 | input[1]);
  int32_t fullScale;
  std::memcpy(&fullScale, input + 2, 4);

  // The register holds a two's complement 12-bit result in bits 15..4.
  const int signedResult = static_cast<int16_t>(conversion) / 16;
  const int32_t raw = rawFromConversion(conversion);
  require(raw == (signedResult < 0 ? 0 : signedResult));
  require(raw >= 0 && raw <= 2047);

  const float volts = voltsFromRaw(raw, static_cast<float>(fullScale));
  require(std::isfinite(volts));
  require(raw == 0 ? volts == 0.0f : (volts > 0) == (fullScale > 0) || fullScale == 0);
  require(std::fabs(volts) <= std::fabs(static_cast<float>(fullScale)));
  return 0;
}
