package com.quorvel.frc.jni;

/**
 * Loads the native BrovaDriver library once, for every class of this package.
 *
 * <p>The library is looked up as {@code libBrovaDriver.so} on {@code java.library.path}, or
 * taken from the absolute path in the system property {@code brova.driver.library} when that is
 * set.
 */
public final class BrovaDriverLibrary {
  /** The library's name as {@link System#loadLibrary} takes it. */
  public static final String NAME = "BrovaDriver";

  /** System property naming the library file, overriding the search path. */
  public static final String PATH_PROPERTY = "brova.driver.library";

  private static final NativeLibrary LIBRARY = new NativeLibrary(NAME, PATH_PROPERTY);

  private BrovaDriverLibrary() {}

  /**
   * Loads the library unless it is loaded already.
   *
   * @throws UnsatisfiedLinkError naming the library and where it was looked for
   */
  public static void load() {
    LIBRARY.load();
  }
}
