package com.quorvel.frc;

import java.time.Duration;
import java.util.Set;
import java.util.concurrent.ConcurrentHashMap;

/**
 * The Ferux analog board on I2C port 1: four single-ended inputs, channels 0..3, converted to 12
 * bits (0..2047; an input below 0 V reads 0).
 *
 * <pre>{@code
 * try (Ferux ferux = new Ferux(5)) {
 *   ferux.startTelemetry(Duration.ofMillis(20));
 *   Reading volts = ferux.getVoltage(2);         // the latest conversion, at once
 *   double now = ferux.getVoltageBlocking(2);    // one conversion now, about 1 ms
 * }
 * }</pre>
 *
 * <p>There is one board, so only one {@code Ferux} may be open in the process: opening a second
 * one throws {@link IllegalStateException}. Direct reads ({@link #getVoltageBlocking}, {@link
 * #getRawBlocking}) start one conversion and wait about 1 ms for it. For a loop that must not
 * wait at all, {@link #startTelemetry} puts the board on the library's telemetry thread, the one
 * that reads the controllers, and {@link #getVoltage} and {@link #getRaw} return its latest
 * readings at once. The C++ {@code brova::Ferux} is the same object over the same library code.
 *
 * <p>Every method may be called from any thread. After {@link #close()} every method but close
 * and isOpen throws {@link IllegalStateException} "Ferux analog board is closed".
 */
public final class Ferux implements AutoCloseable {
  /** The number of inputs: 4, numbered 0..3. */
  public static final int CHANNELS = Limits.ANALOG_INPUTS;

  /** The count that stands for the full-scale voltage. */
  public static final int COUNTS_AT_FULL_SCALE = 2048;

  /** The largest full-scale voltage: whole volts up to this pass through the library exactly. */
  public static final double LARGEST_FULL_SCALE_VOLTS = 1 << 24;

  /** The full-scale voltage of {@link #Ferux()}. */
  public static final int DEFAULT_FULL_SCALE_VOLTS = 5;

  private static final String NAME = "Ferux analog board";

  /**
   * The readings of the open board, kept reachable while the library writes them: a board
   * dropped without close must not leave the library writing to collected memory.
   */
  private static final Set<ReadingBlock> OPEN = ConcurrentHashMap.newKeySet();

  private static final int[] OFFSETS = offsets();

  // The simulation classes' natives (com.quorvel.frc.sim) read lifecycle and board by name.
  private final Lifecycle lifecycle = new Lifecycle(NAME, new QueryGate());
  private final ReadingBlock readings = new ReadingBlock();
  private final int fullScaleVolts;
  private final long board;

  /** Opens the board at {@value #DEFAULT_FULL_SCALE_VOLTS} V, as {@link #Ferux(int)}. */
  public Ferux() {
    this(DEFAULT_FULL_SCALE_VOLTS);
  }

  /**
   * Opens I2C port 1, sets the voltage that {@value #COUNTS_AT_FULL_SCALE} counts stand for, and
   * probes the board; the library prints "I2C device is connected" or "I2C device not
   * connected", and {@link #isConnected()} tells which. Below 1 V full scale every voltage reads
   * 0 while raw counts still work.
   *
   * @param fullScaleVolts the voltage of {@value #COUNTS_AT_FULL_SCALE} counts, 0 to {@link
   *     #LARGEST_FULL_SCALE_VOLTS}
   * @throws IllegalArgumentException for a voltage outside that range ("full-scale voltage -1 V
   *     is outside 0..16777216 V")
   * @throws IllegalStateException when a Ferux is open already, in Java or C++ ("Ferux analog
   *     board is already open; close it first")
   */
  public Ferux(int fullScaleVolts) {
    this.fullScaleVolts = fullScaleVolts;
    OPEN.add(readings);
    try {
      board = AnalogBoardNatives.open(fullScaleVolts, readings.buffer());
    } catch (RuntimeException | Error e) {
      OPEN.remove(readings);
      throw e;
    }
  }

  /**
   * Opens the board with the whole volts of {@code fullScaleVolts}: the fractional part is
   * dropped (5.9 gives 5 V).
   *
   * @param fullScaleVolts the voltage of {@value #COUNTS_AT_FULL_SCALE} counts, 0 to {@link
   *     #LARGEST_FULL_SCALE_VOLTS}; truncated to whole volts
   * @throws IllegalArgumentException for NaN, a negative voltage or one above the largest
   * @throws IllegalStateException when a Ferux is open already
   * @deprecated the board works in whole volts: use {@link #Ferux(int)}
   */
  @Deprecated
  public Ferux(double fullScaleVolts) {
    this(wholeVolts(fullScaleVolts));
  }

  private static int wholeVolts(double volts) {
    if (!(volts >= 0 && volts <= LARGEST_FULL_SCALE_VOLTS)) {
      throw new IllegalArgumentException(
          "full-scale voltage "
              + volts
              + " V is outside 0.."
              + (int) LARGEST_FULL_SCALE_VOLTS
              + " V");
    }
    return (int) volts;
  }

  private static int[] offsets() {
    final int[] offsets = new int[CHANNELS];
    for (int channel = 0; channel < CHANNELS; ++channel) {
      offsets[channel] = AnalogBoardNatives.readingOffset(channel);
    }
    return offsets;
  }

  /** Whether the board is open: true until {@link #close()}. */
  public boolean isOpen() {
    return lifecycle.isOpen();
  }

  /**
   * Whether the board answered lately, the probe at open, its telemetry or a blocking read:
   * within the last second (or three telemetry rounds, when longer), and fewer than three
   * conversions in a row failed since. False after a probe that went unanswered. Returns at once.
   */
  public boolean isConnected() {
    lifecycle.checkOpen();
    return readings.connected();
  }

  /** The full-scale voltage in use, in whole volts. */
  public int getFullScaleVolts() {
    lifecycle.checkOpen();
    return fullScaleVolts;
  }

  /**
   * Converts input {@code channel} now and returns it in volts (raw × full scale / 2048, single
   * precision); 0 when a transfer fails, which counts against {@link #isConnected()}. Waits about
   * 1 ms.
   *
   * @param channel the input, 0..3
   * @throws IllegalArgumentException for a channel outside 0..3
   */
  public double getVoltageBlocking(int channel) {
    Checks.channel("analog channel", channel, CHANNELS);
    return lifecycle.query(() -> AnalogBoardNatives.getVoltage(board, channel));
  }

  /**
   * Converts input {@code channel} now and returns the count, 0..2047; 0 when a transfer fails,
   * which counts against {@link #isConnected()}. Waits about 1 ms.
   *
   * @param channel the input, 0..3
   * @throws IllegalArgumentException for a channel outside 0..3
   */
  public int getRawBlocking(int channel) {
    Checks.channel("analog channel", channel, CHANNELS);
    return (int) lifecycle.query(() -> AnalogBoardNatives.getRaw(board, channel));
  }

  /**
   * Input {@code channel}'s count, 0..2047, as the telemetry last read it; absent before its
   * first read, {@linkplain Reading#isMissing() missing} (keeping the last count) when a
   * transfer of the latest conversion failed. Returns at once.
   *
   * @param channel the input, 0..3
   * @throws IllegalArgumentException for a channel outside 0..3
   */
  public Reading getRaw(int channel) {
    Checks.channel("analog channel", channel, CHANNELS);
    lifecycle.checkOpen();
    return readings.read(OFFSETS[channel]);
  }

  /**
   * Input {@code channel} in volts, as the telemetry last read it (converted from its count
   * exactly as {@link #getVoltageBlocking} converts); absent before its first read, missing when
   * a transfer of the latest conversion failed, never a 0 V made of a failure. Returns at once.
   *
   * @param channel the input, 0..3
   * @throws IllegalArgumentException for a channel outside 0..3
   */
  public Reading getVoltage(int channel) {
    final Reading count = getRaw(channel);
    final float volts = (float) count.value() * ((float) fullScaleVolts / COUNTS_AT_FULL_SCALE);
    return new Reading(volts, count.timeNanos(), count.state());
  }

  /**
   * The cached count, as {@link #getRaw}.
   *
   * @deprecated renamed {@link #getRaw}; the blocking read is {@link #getRawBlocking}
   */
  @Deprecated
  public Reading getCachedRaw(int channel) {
    return getRaw(channel);
  }

  /**
   * The cached voltage, as {@link #getVoltage}.
   *
   * @deprecated renamed {@link #getVoltage}; the blocking read is {@link #getVoltageBlocking}
   */
  @Deprecated
  public Reading getCachedVoltage(int channel) {
    return getVoltage(channel);
  }

  /**
   * Converts the four inputs in the background, for the cached getters, a round at most once
   * per {@code period} (at once if the last one took longer; a round takes about 4 ms). The
   * library does it on its one telemetry thread, the controllers' too, without ever making that
   * thread wait: a blocking read under way delays a conversion instead. A conversion one of whose
   * transfers fails makes its reading missing; three in a row make the board not connected, and
   * the console says "Ferux analog board is not answering; its readings are missing until it
   * does", then "Ferux analog board answers again".
   *
   * <p>Calling it again changes the period.
   *
   * @param period the shortest time between the starts of two rounds, positive
   * @throws IllegalArgumentException for a zero or negative period ("telemetry period must be
   *     positive")
   * @throws NullPointerException for a null period
   * @throws IllegalStateException when the board is closed
   */
  public void startTelemetry(Duration period) {
    final long nanos = Checks.telemetryPeriodNanos(period);
    lifecycle.run(() -> AnalogBoardNatives.startTelemetry(board, nanos));
  }

  /**
   * Takes the board off the telemetry thread; returns when no conversion of it is under way. The
   * cached readings keep their last values and read as stale. Does nothing when it is not
   * running.
   *
   * @throws IllegalStateException when the board is closed
   */
  public void stopTelemetry() {
    lifecycle.run(() -> AnalogBoardNatives.stopTelemetry(board));
  }

  /**
   * Whether the telemetry reads the board.
   *
   * @throws IllegalStateException when the board is closed
   */
  public boolean isTelemetryRunning() {
    return lifecycle.test(() -> AnalogBoardNatives.telemetryRunning(board));
  }

  /**
   * Stops the telemetry, waits for the calls under way and closes the port; another Ferux may
   * open then. Closing again does nothing.
   */
  @Override
  public void close() {
    lifecycle.close(
        () -> {
          AnalogBoardNatives.close(board);
          OPEN.remove(readings);
        });
  }

  /** "Ferux analog board". */
  @Override
  public String toString() {
    return NAME;
  }
}
