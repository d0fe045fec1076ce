package com.quorvel.frc.sim;

/**
 * The simulated CAN bus and robot state, for Java tests and simulations. Every frame the library
 * sends is recorded; frames put on the bus here are what the library's queries read back.
 */
public final class SimCan {
  static {
    SimLibrary.load();
  }

  private SimCan() {}

  /** Forgets every recorded frame, kept frame and injected fault; the robot is not active. */
  public static native void reset();

  /**
   * Puts a frame on the bus as if a controller had sent it (0 to 8 bytes). One query takes it
   * (see docs/receiving.md): put a reply before each query that should read one.
   */
  public static native void putFrame(int id, byte[] data);

  /** The frames sent so far, oldest first. */
  public static native SentFrame[] sentFrames();

  /** Forgets the frames sent so far. */
  public static native void clearSentFrames();

  /** Sets whether the robot system is active, as the platform reports it to the keep-alive. */
  public static native void setSystemActive(boolean active);

  /** The handles that the platform's CAN initialisation hands out next count up from this. */
  public static native void setNextHandle(int next);

  /**
   * The next {@code count} CAN initialisations report {@code status} (they still hand out a
   * handle), as a platform that refuses a device does.
   */
  public static native void failNextInitializations(int status, int count);

  /** The handles passed to the platform's CAN clean, oldest first. */
  public static native int[] cleanedHandles();

  /** Whether sends are recorded (on by default; long simulations and benchmarks turn it off). */
  public static native void setRecording(boolean on);

  /** The frames sent so far with exactly this identifier. */
  public static SentFrame[] sentFrames(int id) {
    return java.util.Arrays.stream(sentFrames())
        .filter(frame -> frame.id() == id)
        .toArray(SentFrame[]::new);
  }
}
