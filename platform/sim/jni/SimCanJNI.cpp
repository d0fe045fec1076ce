// com.quorvel.frc.sim.SimCan over the simulated CAN bus.
#include <chrono>
#include <cstdint>
#include <vector>

#include "brovasim/SimCan.h"
#include "com_quorvel_frc_sim_SimCan.h"

namespace {

// A Java byte array's bytes; none for null.
std::vector<uint8_t> bytesOf(JNIEnv* env, jbyteArray data) {
  std::vector<uint8_t> bytes;
  if (data != nullptr) {
    bytes.resize(static_cast<size_t>(env->GetArrayLength(data)));
    env->GetByteArrayRegion(data, 0, static_cast<jsize>(bytes.size()),
                            reinterpret_cast<jbyte*>(bytes.data()));
  }
  return bytes;
}

}  // namespace

extern "C" {

JNIEXPORT void JNICALL Java_com_quorvel_frc_sim_SimCan_reset(JNIEnv*, jclass) {
  brovasim::can::reset();
}

JNIEXPORT jint JNICALL Java_com_quorvel_frc_sim_SimCan_buses(JNIEnv*, jclass) {
  return brovasim::can::kBuses;
}

JNIEXPORT void JNICALL Java_com_quorvel_frc_sim_SimCan_putFrameOnBus(JNIEnv* env, jclass, jint id,
                                                                     jbyteArray data, jint bus) {
  const std::vector<uint8_t> bytes = bytesOf(env, data);
  brovasim::can::putFrame(static_cast<uint32_t>(id), bytes, bus);
}

JNIEXPORT void JNICALL Java_com_quorvel_frc_sim_SimCan_answer(JNIEnv* env, jclass, jint requestId,
                                                              jint replyId, jbyteArray data) {
  const std::vector<uint8_t> bytes = bytesOf(env, data);
  brovasim::can::subscribe([request = static_cast<uint32_t>(requestId),
                            reply = static_cast<uint32_t>(replyId),
                            bytes](const brovasim::SentFrame& frame) {
    if (frame.id == request && frame.bus == 0) brovasim::can::putFrame(reply, bytes);
  });
}

JNIEXPORT jobjectArray JNICALL Java_com_quorvel_frc_sim_SimCan_sentFrames(JNIEnv* env, jclass) {
  const auto frames = brovasim::can::sentFrames();
  jclass frameClass = env->FindClass("com/quorvel/frc/sim/SentFrame");
  if (frameClass == nullptr) return nullptr;
  jmethodID construct = env->GetMethodID(frameClass, "<init>", "(JI[BIII)V");
  if (construct == nullptr) return nullptr;
  jobjectArray result = env->NewObjectArray(static_cast<jsize>(frames.size()), frameClass, nullptr);
  if (result == nullptr) return nullptr;
  for (size_t i = 0; i < frames.size(); ++i) {
    const auto& frame = frames[i];
    const jsize length = frame.size < 8 ? frame.size : 8;
    jbyteArray data = env->NewByteArray(length);
    if (data == nullptr) return nullptr;
    env->SetByteArrayRegion(data, 0, length, reinterpret_cast<const jbyte*>(frame.data.data()));
    const auto nanos =
        std::chrono::duration_cast<std::chrono::nanoseconds>(frame.time.time_since_epoch()).count();
    jobject object = env->NewObject(frameClass, construct, static_cast<jlong>(nanos),
                                    static_cast<jint>(frame.id), data,
                                    static_cast<jint>(frame.size), frame.periodMs, frame.bus);
    if (object == nullptr) return nullptr;
    env->SetObjectArrayElement(result, static_cast<jsize>(i), object);
    env->DeleteLocalRef(object);
    env->DeleteLocalRef(data);
  }
  return result;
}

JNIEXPORT void JNICALL Java_com_quorvel_frc_sim_SimCan_clearSentFrames(JNIEnv*, jclass) {
  brovasim::can::clearSentFrames();
}

JNIEXPORT void JNICALL Java_com_quorvel_frc_sim_SimCan_setSystemActive(JNIEnv*, jclass,
                                                                       jboolean active) {
  brovasim::can::setSystemActive(active != JNI_FALSE);
}

JNIEXPORT void JNICALL Java_com_quorvel_frc_sim_SimCan_setNextHandle(JNIEnv*, jclass, jint next) {
  brovasim::can::setNextHandle(next);
}

JNIEXPORT void JNICALL Java_com_quorvel_frc_sim_SimCan_failNextInitializationsOnBus(JNIEnv*, jclass,
                                                                                    jint status,
                                                                                    jint count,
                                                                                    jint bus) {
  brovasim::can::failNextInitializations(status, count, bus);
}

JNIEXPORT void JNICALL Java_com_quorvel_frc_sim_SimCan_setRecording(JNIEnv*, jclass, jboolean on) {
  brovasim::can::setRecording(on != JNI_FALSE);
}

JNIEXPORT jintArray JNICALL Java_com_quorvel_frc_sim_SimCan_cleanedHandles(JNIEnv* env, jclass) {
  const auto handles = brovasim::can::cleanedHandles();
  jintArray result = env->NewIntArray(static_cast<jsize>(handles.size()));
  if (result != nullptr) {
    env->SetIntArrayRegion(result, 0, static_cast<jsize>(handles.size()), handles.data());
  }
  return result;
}

}  // extern "C"
