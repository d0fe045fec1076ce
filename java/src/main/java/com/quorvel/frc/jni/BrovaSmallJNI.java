package com.quorvel.frc.jni;

/**
 * The single-channel BrovaSmall controller's native operations. Every operation but create
 * takes the handle that create returned; frames go to the device number of the most recent
 * successful create. Queries wait 100 ms for the reply; a missing reply prints a line and reads
 * as zero.
 */
public final class BrovaSmallJNI {
  static {
    BrovaDriverLibrary.load();
  }

  private BrovaSmallJNI() {}

  public static native long c_BrovaSmall_create(int deviceNumber, int frequency, boolean flag);

  public static native void c_BrovaSmall_destroy(long handle);

  public static native int c_BrovaSmall_getID(long handle);

  public static native int c_BrovaSmall_getFrequency(long handle);

  public static native String c_BrovaSmall_getFirmwareVersion(long handle);

  public static native String c_BrovaSmall_getHardwareVersion(long handle);

  public static native String c_BrovaSmall_getSerialNumber(long handle);

  public static native void c_BrovaSmall_configureMotor(long handle, int frequency);

  public static native void c_BrovaSmall_disableMotor(long handle);

  public static native void c_BrovaSmall_setMotorSpeed(long handle, double speed);

  public static native void c_BrovaSmall_setCurrentLimit(long handle);

  public static native double c_BrovaSmall_getLimitSwitch(long handle, boolean which);

  public static native int c_BrovaSmall_getFaults(long handle);

  public static native void c_BrovaSmall_clearFaults(long handle);

  public static native boolean c_BrovaSmall_enableSoftLimit(long handle);

  public static native double c_BrovaSmall_getCurrent(long handle);
}
