/** The test responder on WPILib's simulation HAL (Responder.cpp), for the Java robot program. */
final class WpilibResponder {
  private WpilibResponder() {}

  /** Initialises WPILib's HAL and registers the responder; false when the HAL did not start. */
  static native boolean start();

  static native void setEnabled(boolean enabled);

  /** The keep-alive frames heard for {@code device} since the last clear, active or not. */
  static native int keepAlives(int device, boolean active);

  static native void clearKeepAlives();
}
