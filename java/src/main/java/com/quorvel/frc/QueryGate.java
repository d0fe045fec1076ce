package com.quorvel.frc;

import java.util.concurrent.locks.ReentrantLock;
import java.util.function.DoubleSupplier;
import java.util.function.Supplier;

/**
 * Makes the blocking queries of one device from several Java threads take turns in the order
 * they arrive. The library serialises them as well, but its lock is not fair; with this gate a
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
}
