package com.quorvel.frc;

import java.util.concurrent.locks.ReentrantLock;
import java.util.function.DoubleSupplier;
import java.util.function.Supplier;

/**
 * Makes the queries of one device take turns in the order they arrive. The library serialises
 * them as well, but its lock is not fair: the analog board's refresher, which queries back to
 * back, could keep a robot thread's blocking read waiting for whole rounds. With this gate a
 * blocking query waits for at most the one query under way.
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
    lock.lockInterruptibly();
    final double value;
    try {
      value = query.getAsDouble();
    } finally {
      lock.unlock();
    }
    cache.set(value, System.nanoTime());
  }
}
