/** WPILib's simulation as the Java robot program sees it (Harness.cpp): no controller answers here. */
final class WpilibHarness {
  private WpilibHarness() {}

  /** Initialises WPILib's HAL, the Driver Station attached and disabled. */
  static native boolean start();

  static native void setEnabled(boolean enabled);

  /** The simulated devices whose names start with {@code prefix}, each followed by a newline. */
  static native String devices(String prefix);

  /** A simulated value (a boolean reads 0 or 1); NaN when there is none. */
  static native double value(String device, String value);

  /** Sets a simulated value with HAL_SetSimValue; false when there is none. */
  static native boolean setValue(String device, String value, double number);
}
