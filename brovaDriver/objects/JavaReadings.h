// The readings of a Java object: a reading block (devices/Readings.h) in a direct buffer that
// the Java object owns.
#pragma once

#include <jni.h>

#include <cstdint>
#include <new>
#include <stdexcept>
#include <string>

#include "devices/Readings.h"

namespace brova::detail {

// A new reading block in `readings`, a direct buffer of at least kReadingBlockBytes bytes at an
// 8-byte aligned address; std::invalid_argument for anything else.
inline devices::ReadingBlock* readingBlockIn(JNIEnv* env, jobject readings) {
  void* address = readings ? env->GetDirectBufferAddress(readings) : nullptr;
  const jlong capacity = readings ? env->GetDirectBufferCapacity(readings) : -1;
  if (address == nullptr || capacity < static_cast<jlong>(devices::kReadingBlockBytes) ||
      reinterpret_cast<uintptr_t>(address) % alignof(devices::ReadingBlock) != 0) {
    throw std::invalid_argument("the readings must be an aligned direct buffer of " +
                                std::to_string(devices::kReadingBlockBytes) + " bytes");
  }
  return new (address) devices::ReadingBlock();
}

}  // namespace brova::detail
