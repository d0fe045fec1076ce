// The Java objects' devices: com.quorvel.frc.DeviceNatives.
// A Java device is a heap std::shared_ptr<devices::Device>, its address the Java long; its
// readings live in a direct buffer the Java object owns. Each function converts the Java
// arguments, makes its call and returns the result; a C++ exception becomes the Java exception
// of its kind and crosses no further.
#include <jni.h>

#include <array>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <new>
#include <stdexcept>
#include <string>

#include "com_quorvel_frc_DeviceNatives.h"
#include "controller/Commands.h"
#include "controller/Queries.h"
#include "devices/Device.h"
#include "devices/Readings.h"
#include "objects/Speed.h"

namespace {

using brova::devices::Device;
using brova::devices::ReadingBlock;
using brova::devices::ReadingSlot;
using brova::devices::ReadingState;

// The Java enums' constants in their declared order: Quantity, Reading.State.
constexpr std::array kQuantities{brova::devices::kCurrent, brova::devices::kRpm,
                                 brova::devices::kEncoderCount, brova::devices::kTemperature};
constexpr std::array kStates{ReadingState::NotRead, ReadingState::Fresh, ReadingState::Missing,
                             ReadingState::Stale};

void throwJava(JNIEnv* env, const char* className, const char* message) {
  if (env->ExceptionCheck()) return;  // the first exception is the one Java sees
  if (jclass type = env->FindClass(className)) env->ThrowNew(type, message);
}

// Runs `call`; an exception it throws is thrown in Java instead, and `fallback` returned.
template <typename Result, typename Call>
Result guarded(JNIEnv* env, Result fallback, Call&& call) noexcept {
  try {
    return call();
  } catch (const std::invalid_argument& e) {
    throwJava(env, "java/lang/IllegalArgumentException", e.what());
  } catch (const std::logic_error& e) {
    throwJava(env, "java/lang/IllegalStateException", e.what());
  } catch (const std::runtime_error& e) {
    throwJava(env, "java/lang/IllegalStateException", e.what());
  } catch (const std::bad_alloc&) {
    throwJava(env, "java/lang/OutOfMemoryError", "out of native memory");
  } catch (const std::exception& e) {
    throwJava(env, "java/lang/RuntimeException", e.what());
  } catch (...) {
    throwJava(env, "java/lang/RuntimeException", "unknown native failure");
  }
  return fallback;
}

template <typename Call>
void guardedVoid(JNIEnv* env, Call&& call) noexcept {
  guarded(env, 0, [&] {
    call();
    return 0;
  });
}

Device& device(jlong handle) {
  return **reinterpret_cast<std::shared_ptr<Device>*>(static_cast<intptr_t>(handle));
}

uint8_t channel(jint value) { return static_cast<uint8_t>(value); }

// A set of Java Quantity constants (bit i for constant i) as the devices layer's quantities.
uint32_t quantities(jint javaSet) {
  uint32_t result = 0;
  for (std::size_t i = 0; i < kQuantities.size(); ++i) {
    if ((static_cast<uint32_t>(javaSet) >> i) & 1u) result |= kQuantities[i];
  }
  return result;
}

jint offset(std::size_t bytes) { return static_cast<jint>(bytes); }

}  // namespace

extern "C" {

// ---- The reading block's layout, so the Java side reads the words where they are ----

JNIEXPORT jint JNICALL Java_com_quorvel_frc_DeviceNatives_readingBlockBytes(JNIEnv*, jclass) {
  return offset(brova::devices::kReadingBlockBytes);
}

// The byte offset of `quantity`'s (a Java Quantity ordinal) reading of `channel`.
JNIEXPORT jint JNICALL Java_com_quorvel_frc_DeviceNatives_readingOffset(JNIEnv*, jclass,
                                                                        jint quantity,
                                                                        jint channel) {
  const std::size_t slot = brova::devices::slotOf(
      kQuantities.at(static_cast<std::size_t>(quantity)), static_cast<unsigned>(channel));
  return offset(offsetof(ReadingBlock, slots) + slot * sizeof(ReadingSlot));
}

JNIEXPORT jint JNICALL Java_com_quorvel_frc_DeviceNatives_sequenceOffset(JNIEnv*, jclass) {
  return offset(offsetof(ReadingSlot, sequence));
}

JNIEXPORT jint JNICALL Java_com_quorvel_frc_DeviceNatives_valueOffset(JNIEnv*, jclass) {
  return offset(offsetof(ReadingSlot, valueBits));
}

JNIEXPORT jint JNICALL Java_com_quorvel_frc_DeviceNatives_timeOffset(JNIEnv*, jclass) {
  return offset(offsetof(ReadingSlot, timeNanos));
}

JNIEXPORT jint JNICALL Java_com_quorvel_frc_DeviceNatives_stateOffset(JNIEnv*, jclass) {
  return offset(offsetof(ReadingSlot, state));
}

JNIEXPORT jint JNICALL Java_com_quorvel_frc_DeviceNatives_connectedOffset(JNIEnv*, jclass) {
  return offset(offsetof(ReadingBlock, connected));
}

JNIEXPORT jint JNICALL Java_com_quorvel_frc_DeviceNatives_freshForOffset(JNIEnv*, jclass) {
  return offset(offsetof(ReadingBlock, freshForNanos));
}

JNIEXPORT jlong JNICALL Java_com_quorvel_frc_DeviceNatives_connectedForNanos(JNIEnv*, jclass) {
  return brova::devices::kConnectedForNanos;
}

// The stored code of `state`, a Java Reading.State ordinal.
JNIEXPORT jlong JNICALL Java_com_quorvel_frc_DeviceNatives_stateCode(JNIEnv*, jclass, jint state) {
  return static_cast<jlong>(kStates.at(static_cast<std::size_t>(state)));
}

// ---- Opening and closing ----

// The device (QUAD 0, SMALL 1) on `bus`, its readings kept in `readings`, a direct buffer of at
// least readingBlockBytes() bytes, 8-byte aligned, that stays reachable until close.
JNIEXPORT jlong JNICALL Java_com_quorvel_frc_DeviceNatives_open(JNIEnv* env, jclass, jint kind,
                                                                jint deviceNumber, jint bus,
                                                                jint frequency, jobject readings) {
  return guarded<jlong>(env, 0, [&] {
    void* address = readings ? env->GetDirectBufferAddress(readings) : nullptr;
    const jlong capacity = readings ? env->GetDirectBufferCapacity(readings) : -1;
    if (address == nullptr || capacity < offset(brova::devices::kReadingBlockBytes) ||
        reinterpret_cast<uintptr_t>(address) % alignof(ReadingBlock) != 0) {
      throw std::invalid_argument("the readings must be an aligned direct buffer of " +
                                  std::to_string(brova::devices::kReadingBlockBytes) + " bytes");
    }
    auto* block = new (address) ReadingBlock();
    auto opened =
        Device::open(kind == 0 ? brova::devices::Kind::Quad : brova::devices::Kind::Small,
                     brova::can::Address{.bus = bus, .device = deviceNumber}, frequency, block);
    return static_cast<jlong>(
        reinterpret_cast<intptr_t>(new std::shared_ptr<Device>(std::move(opened))));
  });
}

// Closes the device (nothing is written to its readings after this returns) and frees it.
JNIEXPORT void JNICALL Java_com_quorvel_frc_DeviceNatives_close(JNIEnv*, jclass, jlong handle) {
  auto* held = reinterpret_cast<std::shared_ptr<Device>*>(static_cast<intptr_t>(handle));
  (*held)->close();
  delete held;
}

// ---- Commands ----

JNIEXPORT void JNICALL Java_com_quorvel_frc_DeviceNatives_setMotorSpeed(JNIEnv* env, jclass,
                                                                        jlong handle, jint motor,
                                                                        jdouble speed) {
  guardedVoid(env, [&] {
    brova::controller::setMotorSpeed(device(handle).model(), channel(motor),
                                     brova::detail::objectSpeed(speed));
  });
}

JNIEXPORT void JNICALL Java_com_quorvel_frc_DeviceNatives_disableMotor(JNIEnv* env, jclass,
                                                                       jlong handle, jint motor) {
  guardedVoid(env,
              [&] { brova::controller::disableMotor(device(handle).model(), channel(motor)); });
}

JNIEXPORT void JNICALL Java_com_quorvel_frc_DeviceNatives_configureMotor(JNIEnv* env, jclass,
                                                                         jlong handle, jint motor,
                                                                         jint frequency) {
  guardedVoid(env, [&] {
    brova::controller::configureMotor(device(handle).model(), channel(motor), frequency);
  });
}

// Zeroes the count on the controller, and its reading at once.
JNIEXPORT void JNICALL Java_com_quorvel_frc_DeviceNatives_resetEncoder(JNIEnv* env, jclass,
                                                                       jlong handle, jint encoder) {
  guardedVoid(env, [&] { device(handle).resetEncoder(channel(encoder)); });
}

// ---- Blocking queries ----

JNIEXPORT jdouble JNICALL Java_com_quorvel_frc_DeviceNatives_getCurrent(JNIEnv* env, jclass,
                                                                        jlong handle, jint motor) {
  return guarded<jdouble>(env, 0.0, [&] {
    return brova::controller::getCurrent(device(handle).model(), channel(motor));
  });
}

JNIEXPORT jdouble JNICALL Java_com_quorvel_frc_DeviceNatives_getRpm(JNIEnv* env, jclass,
                                                                    jlong handle, jint motor) {
  return guarded<jdouble>(
      env, 0.0, [&] { return brova::controller::getRpm(device(handle).model(), channel(motor)); });
}

JNIEXPORT jdouble JNICALL Java_com_quorvel_frc_DeviceNatives_getTemperature(JNIEnv* env, jclass,
                                                                            jlong handle) {
  return guarded<jdouble>(
      env, 0.0, [&] { return brova::controller::getControllerTemp(device(handle).model()); });
}

JNIEXPORT jdouble JNICALL Java_com_quorvel_frc_DeviceNatives_getEncoderDistance(
    JNIEnv* env, jclass, jlong handle, jint encoder, jdouble distancePerTick) {
  return guarded<jdouble>(env, 0.0, [&] {
    return brova::controller::getEncoderDistance(device(handle).model(), channel(encoder),
                                                 distancePerTick, nullptr);
  });
}

JNIEXPORT jstring JNICALL Java_com_quorvel_frc_DeviceNatives_getFirmwareVersion(JNIEnv* env, jclass,
                                                                                jlong handle) {
  return env->NewStringUTF(brova::controller::getFirmwareVersion(device(handle).model()).c_str());
}

JNIEXPORT jstring JNICALL Java_com_quorvel_frc_DeviceNatives_getHardwareVersion(JNIEnv* env, jclass,
                                                                                jlong handle) {
  return env->NewStringUTF(brova::controller::getHardwareVersion(device(handle).model()).c_str());
}

JNIEXPORT jstring JNICALL Java_com_quorvel_frc_DeviceNatives_getSerialNumber(JNIEnv* env, jclass,
                                                                             jlong handle) {
  return env->NewStringUTF(brova::controller::getSerialNumber(device(handle).model()).c_str());
}

// ---- Telemetry ----

// `quantities` holds bit i for Java Quantity constant i, `channels` bit c for channel c.
JNIEXPORT void JNICALL Java_com_quorvel_frc_DeviceNatives_startTelemetry(
    JNIEnv* env, jclass, jlong handle, jlong periodNanos, jint quantityBits, jint channels) {
  guardedVoid(env, [&] {
    device(handle).startTelemetry(
        std::chrono::nanoseconds(periodNanos),
        brova::devices::Choice{.quantities = quantities(quantityBits),
                               .channels = static_cast<uint32_t>(channels)});
  });
}

JNIEXPORT void JNICALL Java_com_quorvel_frc_DeviceNatives_stopTelemetry(JNIEnv* env, jclass,
                                                                        jlong handle) {
  guardedVoid(env, [&] { device(handle).stopTelemetry(); });
}

JNIEXPORT jboolean JNICALL Java_com_quorvel_frc_DeviceNatives_telemetryRunning(JNIEnv*, jclass,
                                                                               jlong handle) {
  return device(handle).telemetryRunning();
}

}  // extern "C"
