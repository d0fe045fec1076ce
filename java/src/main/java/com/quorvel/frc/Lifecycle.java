package com.quorvel.frc;

import java.util.concurrent.locks.ReentrantReadWriteLock;
import java.util.function.BooleanSupplier;
import java.util.function.DoubleSupplier;
import java.util.function.Supplier;

/**
 * The open-or-closed state of one device object. Operations on the bus run under the read lock,
 * so that close, which takes the write lock, releases the device only after the operations under
 * way have ended; an operation started after close throws {@link IllegalStateException}.
 */
final class Lifecycle {
  private final String name;
  private final QueryGate gate;
  private final ReentrantReadWriteLock operations = new ReentrantReadWriteLock();
  private final Object closing = new Object();
  private volatile boolean closed;

  Lifecycle(String name, QueryGate gate) {
    this.name = name;
    this.gate = gate;
  }

  String name() {
    return name;
  }

  boolean isOpen() {
    return !closed;
  }

  /** Throws unless the object is open. Takes no lock: cached getters call it. */
  void checkOpen() {
    if (closed) {
      throw closedError();
    }
  }

  /** Runs a command: never waits for a query. */
  void run(Runnable command) {
    enter();
    try {
      command.run();
    } finally {
      leave();
    }
  }

  /** Runs a call that neither sends nor waits for the bus, and returns its result. */
  boolean test(BooleanSupplier call) {
    enter();
    try {
      return call.getAsBoolean();
    } finally {
      leave();
    }
  }

  /** Runs a query in its turn among the device's queries. */
  double query(DoubleSupplier query) {
    enter();
    try {
      return gate.query(query);
    } finally {
      leave();
    }
  }

  /** Runs a query that returns text, in its turn among the device's queries. */
  <T> T queryObject(Supplier<T> query) {
    enter();
    try {
      return gate.queryObject(query);
    } finally {
      leave();
    }
  }

  /**
   * Closes once: later operations throw, and {@code shutdown} runs when the operations under way
   * have ended. A second call returns when the first one has finished, and does nothing else.
   */
  void close(Runnable shutdown) {
    synchronized (closing) {
      if (closed) {
        return;
      }
      closed = true;
      operations.writeLock().lock();
      try {
        shutdown.run();
      } finally {
        operations.writeLock().unlock();
      }
    }
  }

  /**
   * Begins an operation: takes the read lock, or throws as {@link #checkOpen} does when the
   * object is closed. {@link #leave} ends it, on the same thread. Apart from the calls here, the
   * simulation classes' natives (com.quorvel.frc.sim) call the two from the library around theirs.
   */
  void enter() {
    operations.readLock().lock();
    if (closed) {
      operations.readLock().unlock();
      throw closedError();
    }
  }

  /** Ends the operation {@link #enter} began. */
  void leave() {
    operations.readLock().unlock();
  }

  private IllegalStateException closedError() {
    return new IllegalStateException(name + " is closed");
  }
}
