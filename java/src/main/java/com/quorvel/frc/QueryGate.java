package com.quorvel.frc;

import java.util.concurrent.locks.ReentrantLock;
import java.util.function.DoubleSupplier;
import java.util.function.Supplier;

/**
 * Makes the queries of one controller model (or of the analog board) take turns in the order
 * they arrive. The library serialises them as well, but its lock is not fair: a refresher that
 * queries back to back could keep a robot thread's blocking query waiting for whole rounds. With
 * this gate a blocking query waits for at most the one query under way.
 */
final class QueryGate {
  private final ReentrantLock lock = new ReentrantLock(true);

  double query(DoubleSupplier query) {
    lock.lock();
    try {
      return query.getAsDouble();
    } finally {
      lock.unlock();
    }
  }

  <T> T queryObject(Supplier<T> query) {
    lock.lock();
    try {
      return query.get();
    } finally {
      lock.unlock();
    }
  }

  /**
   * Runs {@code query} for a refresher and keeps its value in {@code cache}, stamped with the
   * time the reply was read.
   *
   * @throws InterruptedException when the refresher is being stopped while it waits its turn
   */
  void refresh(CachedValue cache, DoubleSupplier query) throws InterruptedException {
    final long generation = cache.generation();
    lock.lockInterruptibly();
    final double value;
    try {
      value = query.getAsDouble();
    } finally {
      lock.unlock();
    }
    cache.offer(value, System.nanoTime(), generation);
  }
}
