package com.quorvel.frc;

import java.time.Duration;
import java.time.temporal.ChronoUnit;

/**
 * A value that a background refresher read from a device, with the moment it was read. The
 * cached getters ({@link BrovaQuad#getCurrent(int)}, {@link BrovaSmall#getCurrent()}, ...) return
 * one at once, without waiting for the bus.
 *
 * <p>Before the first read the reading is absent: its value is NaN and {@link #isPresent()} is
 * false. A controller that did not answer a query reads as 0 (the library prints a console line
 * then); such a reading is present.
 *
 * @param value the value, in the unit the getter that returned it names; NaN when absent
 * @param timeNanos when the reply was read, in {@link System#nanoTime()} units; 0 when absent
 */
public record Reading(double value, long timeNanos) {
  private static final Reading ABSENT = new Reading(Double.NaN, 0L);
  private static final Duration FOREVER = ChronoUnit.FOREVER.getDuration();

  /** The reading of a quantity that has not been read yet: NaN, not present. */
  public static Reading absent() {
    return ABSENT;
  }

  /** Whether this reading holds a value read from the device (its value is not NaN). */
  public boolean isPresent() {
    return !Double.isNaN(value);
  }

  /**
   * How long ago the value was read, measured now; the longest {@link Duration} for an absent
   * reading, so that a check such as {@code age().compareTo(limit) < 0} fails for it.
   */
  public Duration age() {
    if (!isPresent()) {
      return FOREVER;
    }
    return Duration.ofNanos(Math.max(0L, System.nanoTime() - timeNanos));
  }

  /** The value when present, else {@code other}. */
  public double orElse(double other) {
    return isPresent() ? value : other;
  }
}
