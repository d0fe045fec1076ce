// The single-channel controller: com.quorvel.frc.jni.BrovaSmallJNI.
// Each function converts the Java arguments, calls the C entry point of the same name and
// returns its result.
#include "BrovaDriver.h"
#include "JniConversions.h"
#include "com_quorvel_frc_jni_BrovaSmallJNI.h"

using namespace brova::jni;

extern "C" {

JNIEXPORT jlong JNICALL Java_com_quorvel_frc_jni_BrovaSmallJNI_c_1BrovaSmall_1create(
    JNIEnv*, jclass, jint deviceNumber, jint frequency, jboolean flag) {
  bool callerFlag = flag != JNI_FALSE;  // create clears it; Java never sees it
  return static_cast<jlong>(
      c_BrovaSmall_create(low16(deviceNumber), low16(frequency), &callerFlag));
}

JNIEXPORT void JNICALL Java_com_quorvel_frc_jni_BrovaSmallJNI_c_1BrovaSmall_1destroy(JNIEnv*,
                                                                                     jclass,
                                                                                     jlong handle) {
  c_BrovaSmall_destroy(cHandle(handle));
}

JNIEXPORT jint JNICALL Java_com_quorvel_frc_jni_BrovaSmallJNI_c_1BrovaSmall_1getID(JNIEnv*, jclass,
                                                                                   jlong handle) {
  return c_BrovaSmall_getID(cHandle(handle));
}

JNIEXPORT jint JNICALL
Java_com_quorvel_frc_jni_BrovaSmallJNI_c_1BrovaSmall_1getFrequency(JNIEnv*, jclass, jlong handle) {
  return c_BrovaSmall_getFrequency(cHandle(handle));
}

JNIEXPORT jstring JNICALL Java_com_quorvel_frc_jni_BrovaSmallJNI_c_1BrovaSmall_1getFirmwareVersion(
    JNIEnv* env, jclass, jlong handle) {
  return javaString(env, c_BrovaSmall_getFirmwareVersion(cHandle(handle)));
}

JNIEXPORT jstring JNICALL Java_com_quorvel_frc_jni_BrovaSmallJNI_c_1BrovaSmall_1getHardwareVersion(
    JNIEnv* env, jclass, jlong handle) {
  return javaString(env, c_BrovaSmall_getHardwareVersion(cHandle(handle)));
}

JNIEXPORT jstring JNICALL Java_com_quorvel_frc_jni_BrovaSmallJNI_c_1BrovaSmall_1getSerialNumber(
    JNIEnv* env, jclass, jlong handle) {
  return javaString(env, c_BrovaSmall_getSerialNumber(cHandle(handle)));
}

JNIEXPORT void JNICALL Java_com_quorvel_frc_jni_BrovaSmallJNI_c_1BrovaSmall_1configureMotor(
    JNIEnv*, jclass, jlong handle, jint frequency) {
  c_BrovaSmall_configureMotor(cHandle(handle), frequency);
}

JNIEXPORT void JNICALL
Java_com_quorvel_frc_jni_BrovaSmallJNI_c_1BrovaSmall_1disableMotor(JNIEnv*, jclass, jlong handle) {
  c_BrovaSmall_disableMotor(cHandle(handle));
}

JNIEXPORT void JNICALL Java_com_quorvel_frc_jni_BrovaSmallJNI_c_1BrovaSmall_1setMotorSpeed(
    JNIEnv*, jclass, jlong handle, jdouble speed) {
  c_BrovaSmall_setMotorSpeed(cHandle(handle), speed);
}

JNIEXPORT void JNICALL Java_com_quorvel_frc_jni_BrovaSmallJNI_c_1BrovaSmall_1setCurrentLimit(
    JNIEnv*, jclass, jlong handle) {
  c_BrovaSmall_setCurrentLimit(cHandle(handle));
}

JNIEXPORT jdouble JNICALL Java_com_quorvel_frc_jni_BrovaSmallJNI_c_1BrovaSmall_1getLimitSwitch(
    JNIEnv*, jclass, jlong handle, jboolean which) {
  return c_BrovaSmall_getLimitSwitch(cHandle(handle), which != JNI_FALSE);
}

JNIEXPORT jint JNICALL
Java_com_quorvel_frc_jni_BrovaSmallJNI_c_1BrovaSmall_1getFaults(JNIEnv*, jclass, jlong handle) {
  return c_BrovaSmall_getFaults(cHandle(handle));
}

JNIEXPORT void JNICALL
Java_com_quorvel_frc_jni_BrovaSmallJNI_c_1BrovaSmall_1clearFaults(JNIEnv*, jclass, jlong handle) {
  c_BrovaSmall_clearFaults(cHandle(handle));
}

JNIEXPORT jboolean JNICALL Java_com_quorvel_frc_jni_BrovaSmallJNI_c_1BrovaSmall_1enableSoftLimit(
    JNIEnv*, jclass, jlong handle) {
  return c_BrovaSmall_enableSoftLimit(cHandle(handle));
}

JNIEXPORT jdouble JNICALL
Java_com_quorvel_frc_jni_BrovaSmallJNI_c_1BrovaSmall_1getCurrent(JNIEnv*, jclass, jlong handle) {
  return c_BrovaSmall_getCurrent(cHandle(handle));
}

}  // extern "C"
