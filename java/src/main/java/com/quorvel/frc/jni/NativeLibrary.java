package com.quorvel.frc.jni;

/**
 * A native library of this project, loaded once: from the absolute path in its system property
 * when that is set, else by name from {@code java.library.path}.
 */
final class NativeLibrary {
  private final String name;
  private final String pathProperty;
  private boolean loaded;

  NativeLibrary(String name, String pathProperty) {
    this.name = name;
    this.pathProperty = pathProperty;
  }

  /**
   * Loads the library unless it is loaded already.
   *
   * @throws UnsatisfiedLinkError naming the library and where it was looked for
   */
  synchronized void load() {
    if (loaded) {
      return;
    }
    final String path = System.getProperty(pathProperty);
    try {
      if (path != null) {
        System.load(path);
      } else {
        System.loadLibrary(name);
      }
    } catch (UnsatisfiedLinkError e) {
      final String where =
          path != null
              ? "from " + path
              : "on java.library.path (" + System.getProperty("java.library.path") + ")";
      final UnsatisfiedLinkError error =
          new UnsatisfiedLinkError(
              "Cannot load the native library lib" + name + ".so " + where + ": " + e.getMessage());
      error.initCause(e);
      throw error;
    }
    loaded = true;
  }
}
