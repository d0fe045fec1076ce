package com.quorvel.frc;

import com.quorvel.frc.jni.FeruxJNI;
import java.time.Duration;

/**
 * The Ferux analog board on I2C port 1: four single-ended inputs, channels 0..3, converted to 12
 * bits (0..2047; an input below 0 V reads 0).
 *
 * <pre>{@code
 * try (Ferux ferux = new Ferux(5.0)) {
 *   double volts = ferux.getVoltage(2);  // one conversion, about 1 ms
 * }
 * }</pre>
 *
 * <p>There is one board, so only one {@code Ferux} may be open in the process: opening a second
 * one throws {@link IllegalStateException}. Direct reads ({@link #getVoltage}, {@link #getRaw})
 * start one conversion and wait about 1 ms for it; reads from several threads take turns. For a
 * loop that must not wait at all, {@link #startTelemetry} starts a refresher and the {@code
 * getCached...} getters return its latest readings at once.
 *
 * <p>Every method may be called from any thread. After {@link #close()} every method but close
 * throws {@link IllegalStateException}.
 */
public final class Ferux extends TelemetryDevice {
  /** The number of inputs: 4, numbered 0..3. */
  public static final int CHANNELS = Limits.ANALOG_INPUTS;

  /** The count that stands for the full-scale voltage. */
  public static final int COUNTS_AT_FULL_SCALE = 2048;

  /** The largest full-scale voltage: whole volts up to this pass through the library exactly. */
  public static final double LARGEST_FULL_SCALE_VOLTS = 1 << 24;

  private static final DeviceSlot SLOT = new DeviceSlot();
  private static final QueryGate QUERIES = new QueryGate();

  private final int fullScaleVolts;
  private final boolean connected;
  private final Object slotToken;
  private final CachedValue[] raw = CachedValue.array(CHANNELS);

  /**
   * Opens I2C port 1, sets the voltage that {@value #COUNTS_AT_FULL_SCALE} counts stand for, and
   * probes the board; the library prints "I2C device is connected" or "I2C device not
   * connected" ({@link #isConnected()} tells which). The board works in whole volts: the
   * fractional part of {@code fullScaleVolts} is dropped (5.9 gives 5 V; below 1 V, every
   * voltage reads 0 while raw counts still work).
   *
   * @param fullScaleVolts the voltage of {@value #COUNTS_AT_FULL_SCALE} counts, 0 to {@link
   *     #LARGEST_FULL_SCALE_VOLTS}; truncated to whole volts
   * @throws IllegalArgumentException for NaN, a negative voltage or one above the largest
   * @throws IllegalStateException when a Ferux is open already
   */
  public Ferux(double fullScaleVolts) {
    super("Ferux analog board", QUERIES, "Ferux-telemetry");
    if (!(fullScaleVolts >= 0 && fullScaleVolts <= LARGEST_FULL_SCALE_VOLTS)) {
      throw new IllegalArgumentException(
          "full-scale voltage "
              + fullScaleVolts
              + " V is outside 0.."
              + (int) LARGEST_FULL_SCALE_VOLTS
              + " V");
    }
    this.fullScaleVolts = (int) fullScaleVolts;
    slotToken = SLOT.claim(toString());
    try {
      connected = FeruxJNI.c_initializeI2C((float) this.fullScaleVolts);
    } catch (RuntimeException | Error e) {
      SLOT.release(slotToken);
      throw e;
    }
  }

  /**
   * Whether the board answered the probe when it was opened. A board that did not answer is
   * still open: its reads give 0 until it answers.
   */
  public boolean isConnected() {
    lifecycle.checkOpen();
    return connected;
  }

  /** The full-scale voltage in use, in whole volts. */
  public int getFullScaleVolts() {
    lifecycle.checkOpen();
    return fullScaleVolts;
  }

  /**
   * Converts input {@code channel} now and returns it in volts (raw × full scale / 2048, single
   * precision); 0 when the transfer fails. Waits about 1 ms.
   *
   * @param channel the input, 0..3
   * @throws IllegalArgumentException for a channel outside 0..3
   */
  public double getVoltage(int channel) {
    Checks.channel("analog channel", channel, CHANNELS);
    return lifecycle.query(() -> FeruxJNI.c_getVoltage(channel));
  }

  /**
   * Converts input {@code channel} now and returns the count, 0..2047; 0 when the transfer fails.
   * Waits about 1 ms.
   *
   * @param channel the input, 0..3
   * @throws IllegalArgumentException for a channel outside 0..3
   */
  public int getRaw(int channel) {
    Checks.channel("analog channel", channel, CHANNELS);
    return (int) lifecycle.query(() -> FeruxJNI.c_getRawValue(channel));
  }

  /**
   * Input {@code channel}'s count, 0..2047, as the refresher last read it; absent before its
   * first read. Returns at once.
   *
   * @param channel the input, 0..3
   * @throws IllegalArgumentException for a channel outside 0..3
   */
  public Reading getCachedRaw(int channel) {
    Checks.channel("analog channel", channel, CHANNELS);
    lifecycle.checkOpen();
    return raw[channel].get();
  }

  /**
   * Input {@code channel} in volts, as the refresher last read it (converted from its count
   * exactly as {@link #getVoltage} converts); absent before its first read. Returns at once.
   *
   * @param channel the input, 0..3
   * @throws IllegalArgumentException for a channel outside 0..3
   */
  public Reading getCachedVoltage(int channel) {
    final Reading count = getCachedRaw(channel);
    if (!count.isPresent()) {
      return count;
    }
    final float volts = (float) count.value() * ((float) fullScaleVolts / COUNTS_AT_FULL_SCALE);
    return new Reading(volts, count.timeNanos());
  }

  @Override
  void release() {
    FeruxJNI.c_closeI2C();
    SLOT.release(slotToken);
  }


  @Override
  void refreshRound() throws InterruptedException {
    for (int input = 0; input < CHANNELS; ++input) {
      final int channel = input;
      QUERIES.refresh(raw[channel], () -> FeruxJNI.c_getRawValue(channel));
    }
  }
}
