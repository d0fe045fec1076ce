package com.quorvel.frc.sim;

/**
 * The simulated CAN buses and robot state, for Java tests and simulations. The frames the library
 * sends are recorded while recording is on ({@link #setRecording}: off by default and after
 * {@link #reset()}, so a simulation left running keeps its memory flat; a test that reads {@link
 * #sentFrames()} or {@link #cleanedHandles()} turns it on first), the latest 65536 of each record;
 * frames put on a bus here are what the library's queries on that bus read back. The buses are 0
 * to {@link #BUSES} - 1, each with its own kept frames and injected faults (see
 * brovasim/SimCan.h); the methods that take no bus mean bus 0.
 */
public final class SimCan {
  static {
    SimLibrary.load();
  }

  /** How many buses the simulated robot has. */
  public static final int BUSES = buses();

  private SimCan() {}

  /**
   * Forgets every recorded frame, kept frame and injected fault; the robot is not active and
   * recording is off.
   */
  public static native void reset();

  /**
   * Puts a frame on bus 0 as if a controller had sent it (0 to 8 bytes). One query takes it (see
   * docs/receiving.md): put a reply before each query that should read one.
   */
  public static void putFrame(int id, byte[] data) {
    putFrame(id, data, 0);
  }

  /**
   * Puts a frame on {@code bus}, as {@link #putFrame(int, byte[])} does on bus 0.
   *
   * @throws IllegalArgumentException for a bus outside 0 to {@link #BUSES} - 1
   */
  public static void putFrame(int id, byte[] data, int bus) {
    putFrameOnBus(id, data, checkBus(bus));
  }

  /**
   * From now until {@link #reset()}, answers every frame sent on bus 0 with identifier {@code
   * requestId} by putting {@code replyId} with {@code data} on bus 0 at once, as a controller that
   * answers that request with fixed bytes would. Queries that drop what was kept before their
   * request (the objects') read these answers; a frame put before the request they do not.
   */
  public static native void answer(int requestId, int replyId, byte[] data);

  /** The frames sent while recording was on, on every bus, oldest first. */
  public static native SentFrame[] sentFrames();

  /** Forgets the frames sent so far. */
  public static native void clearSentFrames();

  /** Sets whether the robot system is active, as the platform reports it to the keep-alive. */
  public static native void setSystemActive(boolean active);

  /** The handles that the platform's CAN initialisation hands out next count up from this. */
  public static native void setNextHandle(int next);

  /**
   * The next {@code count} CAN initialisations on bus 0 report {@code status} (they still hand out
   * a handle), as a platform that refuses a device does.
   */
  public static void failNextInitializations(int status, int count) {
    failNextInitializations(status, count, 0);
  }

  /**
   * The next {@code count} CAN initialisations on {@code bus} report {@code status}.
   *
   * @throws IllegalArgumentException for a bus outside 0 to {@link #BUSES} - 1
   */
  public static void failNextInitializations(int status, int count, int bus) {
    failNextInitializationsOnBus(status, count, checkBus(bus));
  }

  /** The handles passed to the platform's CAN clean while recording was on, oldest first. */
  public static native int[] cleanedHandles();

  /**
   * Whether sends, initialisations and cleans are recorded: off by default and after {@link
   * #reset()}, when the records stay empty. While on, each record keeps its latest 65536 entries
   * (see brovasim/SimCan.h).
   */
  public static native void setRecording(boolean on);

  /** The frames sent so far with exactly this identifier on bus 0. */
  public static SentFrame[] sentFrames(int id) {
    return sentFrames(id, 0);
  }

  /** The frames sent so far with exactly this identifier on {@code bus}. */
  public static SentFrame[] sentFrames(int id, int bus) {
    return java.util.Arrays.stream(sentFrames())
        .filter(frame -> frame.id() == id && frame.bus() == bus)
        .toArray(SentFrame[]::new);
  }

  /** {@code bus}, if it is one of the simulated robot's buses. */
  static int checkBus(int bus) {
    if (bus < 0 || bus >= BUSES) {
      throw new IllegalArgumentException("bus " + bus + " is outside 0.." + (BUSES - 1));
    }
    return bus;
  }

  private static native int buses();

  private static native void putFrameOnBus(int id, byte[] data, int bus);

  private static native void failNextInitializationsOnBus(int status, int count, int bus);
}
