package com.quorvel.frc;

import java.time.Duration;
import java.util.Objects;
import java.util.Set;

/**
 * The argument checks of the object API, against the ranges in {@link Limits}: clear exceptions
 * instead of silent truncation.
 */
final class Checks {
  private Checks() {}

  /** A controller's device number: {@code model} names it in the message, as the C++ objects do. */
  static void deviceNumber(String model, int deviceNumber) {
    if (deviceNumber < Limits.LOWEST_DEVICE_NUMBER || deviceNumber > Limits.HIGHEST_DEVICE_NUMBER) {
      throw new IllegalArgumentException(
          model
              + " device number "
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
          "motor frequency "
              + frequencyHz
              + " is outside "
              + Limits.LOWEST_FREQUENCY_HZ
              + ".."
              + Limits.HIGHEST_FREQUENCY_HZ);
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
      throw new IllegalArgumentException("distance per tick must be finite");
    }
  }

  /** A set of quantities to read, as bit i for the quantity of ordinal i. */
  static int quantities(Set<Quantity> quantities) {
    Objects.requireNonNull(quantities, "quantities");
    int bits = 0;
    for (Quantity quantity : quantities) {
      if (quantity == null) {
        throw new IllegalArgumentException("telemetry quantities hold null, which names none");
      }
      bits |= 1 << quantity.ordinal();
    }
    return bits;
  }

  /** A set of channels 0..{@code count}-1 to read, as bit c for channel c. */
  static int channels(Set<Integer> channels, int count) {
    Objects.requireNonNull(channels, "channels");
    int bits = 0;
    for (Integer channel : channels) {
      if (channel == null || channel < 0 || channel >= count) {
        throw new IllegalArgumentException(
            "telemetry channel " + channel + " is outside 0.." + (count - 1));
      }
      bits |= 1 << channel;
    }
    return bits;
  }

  /**
   * A controller's telemetry period in nanoseconds, saturating at {@link Long#MAX_VALUE}: a zero
   * or negative one is refused, as the C++ objects refuse it.
   */
  static long controllerPeriodNanos(Duration period) {
    Objects.requireNonNull(period, "period");
    if (period.isNegative() || period.isZero()) {
      throw new IllegalArgumentException("telemetry period must be positive");
    }
    return periodNanos(period);
  }

  /** The analog board's refresher period in nanoseconds, saturating at {@link Long#MAX_VALUE}. */
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
