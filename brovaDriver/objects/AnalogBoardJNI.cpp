// The Java analog board object's natives: com.quorvel.frc.AnalogBoardNatives.
// A Java board is a heap std::shared_ptr<devices::AnalogBoard>, its address the Java long; its
// readings live in a direct buffer the Java object owns. Each function converts the Java
// arguments, makes its call and returns the result; a C++ exception becomes the Java exception
// of its kind and crosses no further.
#include <jni.h>

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <memory>

#include "com_quorvel_frc_AnalogBoardNatives.h"
#include "devices/AnalogBoard.h"
#include "devices/Readings.h"
#include "objects/JavaExceptions.h"
#include "objects/JavaReadings.h"

namespace {

using brova::detail::guarded;
using brova::detail::guardedVoid;
using brova::devices::AnalogBoard;

AnalogBoard& board(jlong handle) {
  return **reinterpret_cast<std::shared_ptr<AnalogBoard>*>(static_cast<intptr_t>(handle));
}

}  // namespace

extern "C" {

// The byte offset of input `channel`'s count in the readings.
JNIEXPORT jint JNICALL Java_com_quorvel_frc_AnalogBoardNatives_readingOffset(JNIEnv*, jclass,
                                                                             jint channel) {
  return static_cast<jint>(offsetof(brova::devices::ReadingBlock, slots) +
                           brova::devices::boardSlotOf(static_cast<unsigned>(channel)) *
                               sizeof(brova::devices::ReadingSlot));
}

// The board, its readings kept in `readings`, a direct buffer of at least readingBlockBytes()
// bytes, 8-byte aligned, that stays reachable until close.
JNIEXPORT jlong JNICALL Java_com_quorvel_frc_AnalogBoardNatives_open(JNIEnv* env, jclass,
                                                                     jint fullScaleVolts,
                                                                     jobject readings) {
  return guarded<jlong>(env, 0, [&] {
    auto opened = AnalogBoard::open(fullScaleVolts, brova::detail::readingBlockIn(env, readings));
    return static_cast<jlong>(
        reinterpret_cast<intptr_t>(new std::shared_ptr<AnalogBoard>(std::move(opened))));
  });
}

// Closes the board (nothing is written to its readings after this returns) and frees it.
JNIEXPORT void JNICALL Java_com_quorvel_frc_AnalogBoardNatives_close(JNIEnv*, jclass,
                                                                     jlong handle) {
  auto* held = reinterpret_cast<std::shared_ptr<AnalogBoard>*>(static_cast<intptr_t>(handle));
  (*held)->close();
  delete held;
}

JNIEXPORT jint JNICALL Java_com_quorvel_frc_AnalogBoardNatives_getRaw(JNIEnv* env, jclass,
                                                                      jlong handle, jint channel) {
  return guarded<jint>(env, 0, [&] { return board(handle).rawBlocking(channel); });
}

JNIEXPORT jdouble JNICALL Java_com_quorvel_frc_AnalogBoardNatives_getVoltage(JNIEnv* env, jclass,
                                                                             jlong handle,
                                                                             jint channel) {
  return guarded<jdouble>(env, 0.0, [&] { return board(handle).voltageBlocking(channel); });
}

JNIEXPORT void JNICALL Java_com_quorvel_frc_AnalogBoardNatives_startTelemetry(JNIEnv* env, jclass,
                                                                              jlong handle,
                                                                              jlong periodNanos) {
  guardedVoid(env, [&] { board(handle).startTelemetry(std::chrono::nanoseconds(periodNanos)); });
}

JNIEXPORT void JNICALL Java_com_quorvel_frc_AnalogBoardNatives_stopTelemetry(JNIEnv* env, jclass,
                                                                             jlong handle) {
  guardedVoid(env, [&] { board(handle).stopTelemetry(); });
}

JNIEXPORT jboolean JNICALL Java_com_quorvel_frc_AnalogBoardNatives_telemetryRunning(JNIEnv*, jclass,
                                                                                    jlong handle) {
  return board(handle).telemetryRunning();
}

}  // extern "C"
