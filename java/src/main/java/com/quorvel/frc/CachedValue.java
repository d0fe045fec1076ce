package com.quorvel.frc;

import java.util.concurrent.atomic.AtomicReference;

/**
 * The latest reading of one quantity, written by a refresher thread and read by any thread
 * without a lock. A reset (an encoder set to zero) starts a new generation: a value whose query
 * began before the reset is dropped instead of overwriting the reset.
 */
final class CachedValue {
  private record Entry(Reading reading, long generation) {}

  private final AtomicReference<Entry> entry =
      new AtomicReference<>(new Entry(Reading.absent(), 0L));

  /** {@code count} new, absent values. */
  static CachedValue[] array(int count) {
    final CachedValue[] values = new CachedValue[count];
    for (int i = 0; i < count; ++i) {
      values[i] = new CachedValue();
    }
    return values;
  }

  Reading get() {
    return entry.get().reading();
  }

  /** Taken before a query, and given back to {@link #offer}. */
  long generation() {
    return entry.get().generation();
  }

  /** Keeps {@code value}, read at {@code timeNanos}, unless a reset came after {@code generation}. */
  void offer(double value, long timeNanos, long generation) {
    final Entry fresh = new Entry(new Reading(value, timeNanos), generation);
    entry.getAndUpdate(current -> current.generation() == generation ? fresh : current);
  }

  /** Sets the value to {@code value} now, and drops the values of queries still under way. */
  void reset(double value) {
    final Reading reading = new Reading(value, System.nanoTime());
    entry.getAndUpdate(current -> new Entry(reading, current.generation() + 1));
  }
}
