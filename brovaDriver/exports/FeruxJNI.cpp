// The analog board: com.quorvel.frc.jni.FeruxJNI.
// Each function converts the Java arguments, calls the C entry point of the same name and
// returns its result.
#include "BrovaDriver.h"
#include "JniConversions.h"
#include "com_quorvel_frc_jni_FeruxJNI.h"

using namespace brova::jni;

extern "C" {

JNIEXPORT jboolean JNICALL
Java_com_quorvel_frc_jni_FeruxJNI_c_1initializeI2C(JNIEnv*, jclass, jfloat fullScaleVoltage) {
  return c_initializeI2C(truncated(fullScaleVoltage));
}

JNIEXPORT void JNICALL Java_com_quorvel_frc_jni_FeruxJNI_c_1closeI2C(JNIEnv*, jclass) {
  c_closeI2C();
}

JNIEXPORT jint JNICALL Java_com_quorvel_frc_jni_FeruxJNI_c_1getRawValue(JNIEnv*, jclass,
                                                                        jint channel) {
  return c_getRawValue(low8(channel));
}

JNIEXPORT jfloat JNICALL Java_com_quorvel_frc_jni_FeruxJNI_c_1getVoltage(JNIEnv*, jclass,
                                                                         jint channel) {
  return c_getVoltage(low8(channel));
}

}  // extern "C"
