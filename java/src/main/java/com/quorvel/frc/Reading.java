package com.quorvel.frc;

import java.time.Duration;
import java.time.temporal.ChronoUnit;
import java.util.Objects;

/**
 * A value read from a device, when it was read, and whether the device answered the last time it
 * was asked. The cached getters ({@link BrovaQuad#getCurrent(int)}, {@link BrovaSmall#getCurrent()},
 * ...) return one at once, without waiting for the bus.
 *
 * <p>Before the first answer the reading is absent: its value is NaN and {@link #isPresent()} is
 * false. A reading whose latest request went unanswered is {@link State#MISSING}: it keeps the
 * last answer's value and time (and is absent if there never was one).
 *
 * @param value the value, in the unit the getter that returned it names; NaN when absent
 * @param timeNanos when the answer was read, in {@link System#nanoTime()} units; 0 when absent
 * @param state whether the value is the answer to the latest request
 */
public record Reading(double value, long timeNanos, State state) {
  /** Whether the device answered the latest request for a reading. */
  public enum State {
    /** Not asked, or no request answered yet: the value is NaN. */
    NOT_READ,
    /**
     * The telemetry runs and the device answered its latest request, lately: the value and time
     * are that answer's.
     */
    FRESH,
    /** The latest request went unanswered: the value and time are the last answer's. */
    MISSING,
    /**
     * The device answered the latest request, but the telemetry stopped since, or has not
     * confirmed the value for three of its rounds: the value and time are that answer's.
     */
    STALE
  }

  private static final Reading ABSENT = new Reading(Double.NaN, 0L, State.NOT_READ);
  private static final Duration FOREVER = ChronoUnit.FOREVER.getDuration();

  /**
   * A reading of {@code value}, read at {@code timeNanos}, in {@code state}.
   *
   * @throws NullPointerException for a null state
   */
  public Reading {
    Objects.requireNonNull(state, "state");
  }

  /** A fresh reading of {@code value}, read at {@code timeNanos}. */
  public Reading(double value, long timeNanos) {
    this(value, timeNanos, State.FRESH);
  }

  /** The reading of a quantity that has not been read yet: NaN, not present. */
  public static Reading absent() {
    return ABSENT;
  }

  /** Whether a value was read from the device at some time (its value is not NaN). */
  public boolean isPresent() {
    return !Double.isNaN(value);
  }

  /** Whether the telemetry confirms the value lately: the value is current. */
  public boolean isFresh() {
    return state == State.FRESH;
  }

  /** Whether the latest request went unanswered: the value, if any, is an older answer's. */
  public boolean isMissing() {
    return state == State.MISSING;
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

  /** This reading with its value times {@code factor} (an encoder count made a distance). */
  Reading times(double factor) {
    return new Reading(value * factor, timeNanos, state);
  }
}
