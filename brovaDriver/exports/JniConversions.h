// Conversions between Java values and the C entry points' values, shared by the JNI sources.
#pragma once

#include <jni.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <string>

namespace brova::jni {

// A Java handle (long) is the low 32 bits of the C handle.
inline int32_t cHandle(jlong value) { return static_cast<int32_t>(value); }

// Create's device number and frequency: the low 16 bits, read as signed.
inline int16_t low16(jint value) { return static_cast<int16_t>(value); }

// Motor, encoder and channel numbers: the low 8 bits.
inline uint8_t low8(jint value) { return static_cast<uint8_t>(value); }

// Truncation toward zero. Values beyond the 32-bit range saturate and NaN gives 0, where a bare
// conversion would be undefined.
inline int32_t truncated(double value) {
  if (std::isnan(value)) return 0;
  if (value <= static_cast<double>(std::numeric_limits<int32_t>::min())) {
    return std::numeric_limits<int32_t>::min();
  }
  if (value >= static_cast<double>(std::numeric_limits<int32_t>::max())) {
    return std::numeric_limits<int32_t>::max();
  }
  return static_cast<int32_t>(value);
}

// An identity text as a new Java string (null, with the exception pending, if the virtual
// machine cannot make one). The C++ string is destroyed when the caller's statement ends.
inline jstring javaString(JNIEnv* env, const std::string& text) {
  return env->NewStringUTF(text.c_str());
}

}  // namespace brova::jni
