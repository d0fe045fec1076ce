// The four-channel controller: com.quorvel.frc.jni.BrovaQuadJNI.
// Each function converts the Java arguments, calls the C entry point of the same name and
// returns its result.
#include "BrovaDriver.h"
#include "JniConversions.h"
#include "com_quorvel_frc_jni_BrovaQuadJNI.h"

using namespace brova::jni;

extern "C" {

JNIEXPORT jlong JNICALL Java_com_quorvel_frc_jni_BrovaQuadJNI_c_1BrovaQuad_1create(
    JNIEnv*, jclass, jint deviceNumber, jint frequency, jboolean flag, jint motor) {
  bool callerFlag = flag != JNI_FALSE;  // create clears it; Java never sees it
  return static_cast<jlong>(
      c_BrovaQuad_create(low16(deviceNumber), low16(frequency), &callerFlag, low8(motor)));
}

JNIEXPORT void JNICALL Java_com_quorvel_frc_jni_BrovaQuadJNI_c_1BrovaQuad_1destroy(JNIEnv*, jclass,
                                                                                   jlong handle) {
  c_BrovaQuad_destroy(cHandle(handle));
}

JNIEXPORT jint JNICALL Java_com_quorvel_frc_jni_BrovaQuadJNI_c_1BrovaQuad_1getID(JNIEnv*, jclass,
                                                                                 jlong handle) {
  return c_BrovaQuad_getID(cHandle(handle));
}

JNIEXPORT jint JNICALL
Java_com_quorvel_frc_jni_BrovaQuadJNI_c_1BrovaQuad_1getFrequency(JNIEnv*, jclass, jlong handle) {
  return c_BrovaQuad_getFrequency(cHandle(handle));
}

JNIEXPORT jstring JNICALL Java_com_quorvel_frc_jni_BrovaQuadJNI_c_1BrovaQuad_1getFirmwareVersion(
    JNIEnv* env, jclass, jlong handle) {
  return javaString(env, c_BrovaQuad_getFirmwareVersion(cHandle(handle)));
}

JNIEXPORT jstring JNICALL Java_com_quorvel_frc_jni_BrovaQuadJNI_c_1BrovaQuad_1getHardwareVersion(
    JNIEnv* env, jclass, jlong handle) {
  return javaString(env, c_BrovaQuad_getHardwareVersion(cHandle(handle)));
}

JNIEXPORT jstring JNICALL Java_com_quorvel_frc_jni_BrovaQuadJNI_c_1BrovaQuad_1getSerialNumber(
    JNIEnv* env, jclass, jlong handle) {
  return javaString(env, c_BrovaQuad_getSerialNumber(cHandle(handle)));
}

JNIEXPORT void JNICALL Java_com_quorvel_frc_jni_BrovaQuadJNI_c_1BrovaQuad_1configureMotor(
    JNIEnv*, jclass, jlong handle, jint frequency, jint motor) {
  c_BrovaQuad_configureMotor(cHandle(handle), frequency, low8(motor));
}

JNIEXPORT void JNICALL Java_com_quorvel_frc_jni_BrovaQuadJNI_c_1BrovaQuad_1disableMotor(
    JNIEnv*, jclass, jlong handle, jint motor) {
  c_BrovaQuad_disableMotor(cHandle(handle), low8(motor));
}

JNIEXPORT void JNICALL Java_com_quorvel_frc_jni_BrovaQuadJNI_c_1BrovaQuad_1setMotorSpeed(
    JNIEnv*, jclass, jlong handle, jint motor, jdouble speed) {
  c_BrovaQuad_setMotorSpeed(cHandle(handle), low8(motor), speed);
}

JNIEXPORT void JNICALL Java_com_quorvel_frc_jni_BrovaQuadJNI_c_1BrovaQuad_1setCurrentLimit(
    JNIEnv*, jclass, jlong handle, jint motor) {
  c_BrovaQuad_setCurrentLimit(cHandle(handle), low8(motor));
}

JNIEXPORT jdouble JNICALL Java_com_quorvel_frc_jni_BrovaQuadJNI_c_1BrovaQuad_1getLimitSwitch(
    JNIEnv*, jclass, jlong handle, jint motor, jboolean which) {
  return c_BrovaQuad_getLimitSwitch(cHandle(handle), low8(motor), which != JNI_FALSE);
}

JNIEXPORT jint JNICALL Java_com_quorvel_frc_jni_BrovaQuadJNI_c_1BrovaQuad_1getFaults(JNIEnv*,
                                                                                     jclass,
                                                                                     jlong handle,
                                                                                     jint motor) {
  return c_BrovaQuad_getFaults(cHandle(handle), low8(motor));
}

JNIEXPORT void JNICALL Java_com_quorvel_frc_jni_BrovaQuadJNI_c_1BrovaQuad_1clearFaults(JNIEnv*,
                                                                                       jclass,
                                                                                       jlong handle,
                                                                                       jint motor) {
  c_BrovaQuad_clearFaults(cHandle(handle), low8(motor));
}

JNIEXPORT jboolean JNICALL Java_com_quorvel_frc_jni_BrovaQuadJNI_c_1BrovaQuad_1enableSoftLimit(
    JNIEnv*, jclass, jlong handle, jint motor) {
  return c_BrovaQuad_enableSoftLimit(cHandle(handle), low8(motor));
}

JNIEXPORT jdouble JNICALL Java_com_quorvel_frc_jni_BrovaQuadJNI_c_1BrovaQuad_1getCurrent(
    JNIEnv*, jclass, jlong handle, jint motor) {
  return c_BrovaQuad_getCurrent(cHandle(handle), low8(motor));
}

JNIEXPORT jdouble JNICALL Java_com_quorvel_frc_jni_BrovaQuadJNI_c_1BrovaQuad_1getControllerTemp(
    JNIEnv*, jclass, jlong handle) {
  return c_BrovaQuad_getControllerTemp(cHandle(handle));
}

JNIEXPORT jdouble JNICALL Java_com_quorvel_frc_jni_BrovaQuadJNI_c_1BrovaQuad_1getRPM(JNIEnv*,
                                                                                     jclass,
                                                                                     jlong handle,
                                                                                     jint motor) {
  return c_BrovaQuad_getRPM(cHandle(handle), low8(motor));
}

}  // extern "C"
