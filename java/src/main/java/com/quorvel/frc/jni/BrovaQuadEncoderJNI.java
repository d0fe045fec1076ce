package com.quorvel.frc.jni;

/** The BrovaQuad's encoders, named by encoder number 0..3. */
public final class BrovaQuadEncoderJNI {
  static {
    BrovaDriverLibrary.load();
  }

  private BrovaQuadEncoderJNI() {}

  /** The count times distancePerTick; count and result are not read or written by Java. */
  public static native double c_BrovaQuadEncoder_getEncoderDistance(
      long handle, int encoder, double distancePerTick, int count, double result);

  public static native void c_BrovaQuadEncoder_resetEncoder(long handle, int encoder);

  public static native double c_BrovaQuadEncoder_getRaw(long handle, int encoder);

  public static native double c_BrovaQuadEncoder_getSpeed(long handle, int encoder);

  public static native boolean c_BrovaQuadEncoder_getDirection(long handle, int encoder);

  public static native void c_BrovaQuadEncoder_setReverseDirection(long handle, int encoder);
}
