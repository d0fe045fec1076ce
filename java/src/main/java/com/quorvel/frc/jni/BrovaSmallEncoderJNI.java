package com.quorvel.frc.jni;

/** The BrovaSmall's encoder. */
public final class BrovaSmallEncoderJNI {
  static {
    BrovaDriverLibrary.load();
  }

  private BrovaSmallEncoderJNI() {}

  /** Has no effect visible to Java: Java passes result by value. */
  public static native void c_BrovaSmallEncoder_setEncoder(
      long handle, double value, double result);

  /** The count times distancePerTick; count and result are not read or written by Java. */
  public static native double c_BrovaSmallEncoder_getEncoderDistance(
      long handle, double distancePerTick, double count, double result);

  public static native void c_BrovaSmallEncoder_resetEncoder(long handle);

  public static native double c_BrovaSmallEncoder_getRaw(long handle);

  public static native double c_BrovaSmallEncoder_getRPM(long handle);

  public static native double c_BrovaSmallEncoder_getSpeed(long handle);

  public static native boolean c_BrovaSmallEncoder_getDirection(long handle);

  public static native void c_BrovaSmallEncoder_setReverseDirection(long handle);
}
