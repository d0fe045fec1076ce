package com.quorvel.frc.jni;

/**
 * Loads the native library of the controller objects ({@code com.quorvel.frc.BrovaQuad} and
 * {@code BrovaSmall}) once. It lies beside libBrovaDriver.so and does not need it.
 *
 * <p>The library is looked up as {@code libBrovaDriverObjects.so} on {@code java.library.path},
 * or taken from the absolute path in the system property {@code brova.objects.library} when that
 * is set.
 */
public final class BrovaDriverObjectsLibrary {
  /** The library's name as {@link System#loadLibrary} takes it. */
  public static final String NAME = "BrovaDriverObjects";

  /** System property naming the library file, overriding the search path. */
  public static final String PATH_PROPERTY = "brova.objects.library";

  private static final NativeLibrary LIBRARY = new NativeLibrary(NAME, PATH_PROPERTY);

  private BrovaDriverObjectsLibrary() {}

  /**
   * Loads the library unless it is loaded already.
   *
   * @throws UnsatisfiedLinkError naming the library and where it was looked for
   */
  public static void load() {
    LIBRARY.load();
  }
}
