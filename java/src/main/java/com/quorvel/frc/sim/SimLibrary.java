package com.quorvel.frc.sim;

/**
 * Loads the simulated platform's Java bindings ({@code libBrovaSimJNI.so}) once. They share the
 * simulated bus with the BrovaDriver library loaded in the same process.
 */
final class SimLibrary {
  static final String NAME = "BrovaSimJNI";
  private static boolean loaded;

  private SimLibrary() {}

  static synchronized void load() {
    if (loaded) {
      return;
    }
    try {
      System.loadLibrary(NAME);
    } catch (UnsatisfiedLinkError e) {
      final UnsatisfiedLinkError error =
          new UnsatisfiedLinkError(
              "Cannot load the native library lib"
                  + NAME
                  + ".so on java.library.path ("
                  + System.getProperty("java.library.path")
                  + "): "
                  + e.getMessage());
      error.initCause(e);
      throw error;
    }
    loaded = true;
  }
}
