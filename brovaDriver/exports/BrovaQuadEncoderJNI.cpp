// The four-channel controller's encoders: com.quorvel.frc.jni.BrovaQuadEncoderJNI.
// Each function converts the Java arguments, calls the C entry point of the same name and
// returns its result.
#include "BrovaDriver.h"
#include "JniConversions.h"
#include "com_quorvel_frc_jni_BrovaQuadEncoderJNI.h"

using namespace brova::jni;

extern "C" {

JNIEXPORT jdouble JNICALL
Java_com_quorvel_frc_jni_BrovaQuadEncoderJNI_c_1BrovaQuadEncoder_1getEncoderDistance(
    JNIEnv*, jclass, jlong handle, jint encoder, jdouble distancePerTick, jint count,
    jdouble result) {
  return c_BrovaQuadEncoder_getEncoderDistance(cHandle(handle), low8(encoder), distancePerTick,
                                               count, &result);
}

JNIEXPORT void JNICALL
Java_com_quorvel_frc_jni_BrovaQuadEncoderJNI_c_1BrovaQuadEncoder_1resetEncoder(JNIEnv*, jclass,
                                                                               jlong handle,
                                                                               jint encoder) {
  c_BrovaQuadEncoder_resetEncoder(cHandle(handle), low8(encoder));
}

JNIEXPORT jdouble JNICALL Java_com_quorvel_frc_jni_BrovaQuadEncoderJNI_c_1BrovaQuadEncoder_1getRaw(
    JNIEnv*, jclass, jlong handle, jint encoder) {
  return c_BrovaQuadEncoder_getRaw(cHandle(handle), low8(encoder));
}

JNIEXPORT jdouble JNICALL
Java_com_quorvel_frc_jni_BrovaQuadEncoderJNI_c_1BrovaQuadEncoder_1getSpeed(JNIEnv*, jclass,
                                                                           jlong handle,
                                                                           jint encoder) {
  return c_BrovaQuadEncoder_getSpeed(cHandle(handle), low8(encoder));
}

JNIEXPORT jboolean JNICALL
Java_com_quorvel_frc_jni_BrovaQuadEncoderJNI_c_1BrovaQuadEncoder_1getDirection(JNIEnv*, jclass,
                                                                               jlong handle,
                                                                               jint encoder) {
  return c_BrovaQuadEncoder_getDirection(cHandle(handle), low8(encoder));
}

JNIEXPORT void JNICALL
Java_com_quorvel_frc_jni_BrovaQuadEncoderJNI_c_1BrovaQuadEncoder_1setReverseDirection(
    JNIEnv*, jclass, jlong handle, jint encoder) {
  c_BrovaQuadEncoder_setReverseDirection(cHandle(handle), low8(encoder));
}

}  // extern "C"
