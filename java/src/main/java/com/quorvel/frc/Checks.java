package com.quorvel.frc;

import java.time.Duration;
import java.util.Objects;

/**
 * The argument checks of the object API, against the ranges in {@link Limits}: clear exceptions
 * instead of silent truncation.
 */
final class Checks {
  private Checks() {}

  static void deviceNumber(int deviceNumber) {
    if (deviceNumber < Limits.LOWEST_DEVICE_NUMBER || deviceNumber > Limits.HIGHEST_DEVICE_NUMBER) {
      throw new IllegalArgumentException(
          "device number "
              + deviceNumber
              + " is outside "
              + Limits.LOWEST_DEVICE_NUMBER
              + ".."
              + Limits.HIGHEST_DEVICE_NUMBER);
    }
  }

  static void frequency(int frequencyHz) {
    if (frequencyHz < Limits.LOWEST_FREQUENCY_HZ || frequencyHz > Limits.HIGHEST_FREQUENCY_HZ) {
      throw new IllegalArgumentException(
          "frequency "
              + frequencyHz
              + " Hz is outside "
              + Limits.LOWEST_FREQUENCY_HZ
              + ".."
              + Limits.HIGHEST_FREQUENCY_HZ
              + " Hz");
    }
  }

  /** A motor, encoder or analog channel number: {@code what} names it in the message. */
  static void channel(String what, int number, int count) {
    if (number < 0 || number >= count) {
      throw new IllegalArgumentException(
          what + " " + number + " is outside 0.." + (count - 1));
    }
  }

  static void speed(double speed) {
    if (Double.isNaN(speed)) {
      throw new IllegalArgumentException(
          "speed is NaN; give -1.0 (full reverse) to 1.0 (full forward)");
    }
  }

  static void distancePerTick(double distancePerTick) {
    if (!Double.isFinite(distancePerTick)) {
      throw new IllegalArgumentException(
          "distance per tick must be a finite number, not " + distancePerTick);
    }
  }

  /** The period in nanoseconds, saturating at {@link Long#MAX_VALUE}. */
  static long periodNanos(Duration period) {
    Objects.requireNonNull(period, "period");
    if (period.isNegative()) {
      throw new IllegalArgumentException("telemetry period " + period + " is negative");
    }
    try {
      return period.toNanos();
    } catch (ArithmeticException e) {
      return Long.MAX_VALUE;
    }
  }
}
