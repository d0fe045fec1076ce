package com.quorvel.frc.jni;

/**
 * The four-channel BrovaQuad controller's native operations. Every operation but create takes
 * the handle that create returned; frames go to the device number of the most recent successful
 * create. Queries wait 10 ms for the reply; a missing reply prints a line and reads as zero.
 */
public final class BrovaQuadJNI {
  static {
    BrovaDriverLibrary.load();
  }

  private BrovaQuadJNI() {}

  public static native long c_BrovaQuad_create(
      int deviceNumber, int frequency, boolean flag, int motor);

  public static native void c_BrovaQuad_destroy(long handle);

  public static native int c_BrovaQuad_getID(long handle);

  public static native int c_BrovaQuad_getFrequency(long handle);

  public static native String c_BrovaQuad_getFirmwareVersion(long handle);

  public static native String c_BrovaQuad_getHardwareVersion(long handle);

  public static native String c_BrovaQuad_getSerialNumber(long handle);

  public static native void c_BrovaQuad_configureMotor(long handle, int frequency, int motor);

  public static native void c_BrovaQuad_disableMotor(long handle, int motor);

  public static native void c_BrovaQuad_setMotorSpeed(long handle, int motor, double speed);

  public static native void c_BrovaQuad_setCurrentLimit(long handle, int motor);

  public static native double c_BrovaQuad_getLimitSwitch(long handle, int motor, boolean which);

  public static native int c_BrovaQuad_getFaults(long handle, int motor);

  public static native void c_BrovaQuad_clearFaults(long handle, int motor);

  public static native boolean c_BrovaQuad_enableSoftLimit(long handle, int motor);

  public static native double c_BrovaQuad_getCurrent(long handle, int motor);

  public static native double c_BrovaQuad_getControllerTemp(long handle);

  public static native double c_BrovaQuad_getRPM(long handle, int motor);
}
