package com.quorvel.frc.jni;

/**
 * Loads the native BrovaDriver library once, for every class that has natives: the raw classes
 * of this package and the objects of {@code com.quorvel.frc} alike, so a program has one driver.
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

  private static boolean loaded;

  private BrovaDriverLibrary() {}

  /**
   * Loads the library unless it is loaded already.
   *
   * @throws UnsatisfiedLinkError naming the library and where it was looked for
   */
  public static synchronized void load() {
    if (loaded) {
      return;
    }
    final String path = System.getProperty(PATH_PROPERTY);
    try {
      if (path != null) {
        System.load(path);
      } else {
        System.loadLibrary(NAME);
      }
    } catch (UnsatisfiedLinkError e) {
      final String where =
          path != null
              ? "from " + path
              : "on java.library.path (" + System.getProperty("java.library.path") + ")";
      final UnsatisfiedLinkError error =
          new UnsatisfiedLinkError(
              "Cannot load the native library lib" + NAME + ".so " + where + ": " + e.getMessage());
      error.initCause(e);
      throw error;
    }
    loaded = true;
  }
}
