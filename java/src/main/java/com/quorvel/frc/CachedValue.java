package com.quorvel.frc;

/**
 * The latest reading of one quantity of the analog board, written by its refresher thread and
 * read by any thread without a lock. The board answers every read (a failed transfer reads 0), so
 * a reading is fresh once read.
 */
final class CachedValue {
  private volatile Reading reading = Reading.absent();

  /** {@code count} new, absent values. */
  static CachedValue[] array(int count) {
    final CachedValue[] values = new CachedValue[count];
    for (int i = 0; i < count; ++i) {
      values[i] = new CachedValue();
    }
    return values;
  }

  Reading get() {
    return reading;
  }

  /** Keeps {@code value}, read at {@code timeNanos}. */
  void set(double value, long timeNanos) {
    reading = new Reading(value, timeNanos);
  }
}
