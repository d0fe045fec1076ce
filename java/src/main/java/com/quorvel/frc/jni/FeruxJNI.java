package com.quorvel.frc.jni;

/** The Ferux analog board: four single-ended inputs, channels 0..3. */
public final class FeruxJNI {
  static {
    BrovaDriverLibrary.load();
  }

  private FeruxJNI() {}

  /** Opens the port and probes the board; the full-scale voltage is truncated to whole volts. */
  public static native boolean c_initializeI2C(float fullScaleVoltage);

  public static native void c_closeI2C();

  public static native int c_getRawValue(int channel);

  public static native float c_getVoltage(int channel);
}
