// The JNI layer's conversions over any Java value, against the Java language's own rules for
// narrowing (low bits) and a saturating truncation.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <limits>

#include "JniConversions.h"

namespace {

void require(bool ok) {
  if (!ok) std::abort();
}

int32_t referenceTruncation(long double value) {
  if (std::isnan(value)) return 0;
  if (value >= 2147483647.0L) return std::numeric_limits<int32_t>::max();
  if (value <= -2147483648.0L) return std::numeric_limits<int32_t>::min();
  return static_cast<int32_t>(std::trunc(value));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* input, size_t size) {
  using namespace brova::jni;
  if (size < 24) return 0;
  int64_t handle;
  int32_t number;
  double real;
  float single;
  std::memcpy(&handle, input, 8);
  std::memcpy(&number, input + 8, 4);
  std::memcpy(&real, input + 12, 8);
  std::memcpy(&single, input + 20, 4);

  require(cHandle(handle) == static_cast<int32_t>(static_cast<uint32_t>(handle & 0xFFFFFFFF)));
  require(low16(number) == static_cast<int16_t>(static_cast<uint16_t>(number & 0xFFFF)));
  require(low8(number) == static_cast<uint8_t>(number & 0xFF));
  require(truncated(real) == referenceTruncation(real));
  require(truncated(single) == referenceTruncation(single));
  return 0;
}
