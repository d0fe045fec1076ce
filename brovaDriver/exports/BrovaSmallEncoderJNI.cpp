// The single-channel controller's encoder: com.quorvel.frc.jni.BrovaSmallEncoderJNI.
// Each function converts the Java arguments, calls the C entry point of the same name and
// returns its result.
#include "BrovaDriver.h"
#include "JniConversions.h"
#include "com_quorvel_frc_jni_BrovaSmallEncoderJNI.h"

using namespace brova::jni;

extern "C" {

JNIEXPORT void JNICALL
Java_com_quorvel_frc_jni_BrovaSmallEncoderJNI_c_1BrovaSmallEncoder_1setEncoder(JNIEnv*, jclass,
                                                                               jlong handle,
                                                                               jdouble value,
                                                                               jdouble result) {
  c_BrovaSmallEncoder_setEncoder(cHandle(handle), value, &result);
}

JNIEXPORT jdouble JNICALL
Java_com_quorvel_frc_jni_BrovaSmallEncoderJNI_c_1BrovaSmallEncoder_1getEncoderDistance(
    JNIEnv*, jclass, jlong handle, jdouble distancePerTick, jdouble count, jdouble result) {
  return c_BrovaSmallEncoder_getEncoderDistance(cHandle(handle), distancePerTick, truncated(count),
                                                &result);
}

JNIEXPORT void JNICALL
Java_com_quorvel_frc_jni_BrovaSmallEncoderJNI_c_1BrovaSmallEncoder_1resetEncoder(JNIEnv*, jclass,
                                                                                 jlong handle) {
  c_BrovaSmallEncoder_resetEncoder(cHandle(handle));
}

JNIEXPORT jdouble JNICALL
Java_com_quorvel_frc_jni_BrovaSmallEncoderJNI_c_1BrovaSmallEncoder_1getRaw(JNIEnv*, jclass,
                                                                           jlong handle) {
  return c_BrovaSmallEncoder_getRaw(cHandle(handle));
}

JNIEXPORT jdouble JNICALL
Java_com_quorvel_frc_jni_BrovaSmallEncoderJNI_c_1BrovaSmallEncoder_1getRPM(JNIEnv*, jclass,
                                                                           jlong handle) {
  return c_BrovaSmallEncoder_getRPM(cHandle(handle));
}

JNIEXPORT jdouble JNICALL
Java_com_quorvel_frc_jni_BrovaSmallEncoderJNI_c_1BrovaSmallEncoder_1getSpeed(JNIEnv*, jclass,
                                                                             jlong handle) {
  return c_BrovaSmallEncoder_getSpeed(cHandle(handle));
}

JNIEXPORT jboolean JNICALL
Java_com_quorvel_frc_jni_BrovaSmallEncoderJNI_c_1BrovaSmallEncoder_1getDirection(JNIEnv*, jclass,
                                                                                 jlong handle) {
  return c_BrovaSmallEncoder_getDirection(cHandle(handle));
}

JNIEXPORT void JNICALL
Java_com_quorvel_frc_jni_BrovaSmallEncoderJNI_c_1BrovaSmallEncoder_1setReverseDirection(
    JNIEnv*, jclass, jlong handle) {
  c_BrovaSmallEncoder_setReverseDirection(cHandle(handle));
}

}  // extern "C"
