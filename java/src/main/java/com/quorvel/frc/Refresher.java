package com.quorvel.frc;

import java.util.concurrent.locks.LockSupport;

/**
 * One background daemon thread that runs a round of queries, starting a round at most once per
 * period. Started and stopped any number of times; stop waits for the thread to end.
 */
final class Refresher {
  /** One round of queries; throws InterruptedException when asked to stop while waiting. */
  interface Round {
    void run() throws InterruptedException;
  }

  private final String threadName;
  private final Round round;
  private volatile long periodNanos;
  private Thread thread; // Guarded by this.

  Refresher(String threadName, Round round) {
    this.threadName = threadName;
    this.round = round;
  }

  /**
   * Starts the thread, or gives the running thread a new period, which applies from the round
   * under way (a thread waiting for its next round re-evaluates the wait at once).
   */
  synchronized void start(long periodNanos) {
    this.periodNanos = periodNanos;
    if (thread != null && thread.isAlive()) {
      LockSupport.unpark(thread);
      return;
    }
    thread = new Thread(this::loop, threadName);
    thread.setDaemon(true);
    thread.start();
  }

  /** Stops the thread and waits for it to end (at most the query under way). */
  synchronized void stop() {
    if (thread == null) {
      return;
    }
    thread.interrupt();
    boolean interrupted = false;
    while (true) {
      try {
        thread.join();
        break;
      } catch (InterruptedException e) {
        interrupted = true;
      }
    }
    thread = null;
    if (interrupted) {
      Thread.currentThread().interrupt();
    }
  }

  synchronized boolean isRunning() {
    return thread != null && thread.isAlive();
  }

  private void loop() {
    final Thread self = Thread.currentThread();
    try {
      while (!self.isInterrupted()) {
        final long start = System.nanoTime();
        round.run();
        // Waits until a period after the round's start, reading the period again on each wake.
        for (long left = periodNanos - (System.nanoTime() - start);
            left > 0 && !self.isInterrupted();
            left = periodNanos - (System.nanoTime() - start)) {
          LockSupport.parkNanos(this, left);
        }
      }
    } catch (InterruptedException e) {
      // Stopped while waiting for a query's turn.
    }
  }
}
