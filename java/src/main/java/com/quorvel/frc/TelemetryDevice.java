package com.quorvel.frc;

import java.time.Duration;

/**
 * A device object whose cached readings a refresher thread of its own keeps (the analog board):
 * its open-or-closed state, the refresher, and closing. A subclass says what one refresher round
 * reads and how the device is released.
 */
abstract class TelemetryDevice implements AutoCloseable {
  final Lifecycle lifecycle;
  final Refresher refresher;

  TelemetryDevice(String name, QueryGate queries, String threadName) {
    lifecycle = new Lifecycle(name, queries);
    refresher = new Refresher(threadName, this::refreshRound);
  }

  /** One round of the refresher: every quantity the device caches, read once. */
  abstract void refreshRound() throws InterruptedException;

  /** Releases the device (its port, and its one-per-process slot); called once. */
  abstract void release();

  /**
   * Starts the refresher, a daemon thread that reads every cached quantity, round after round,
   * and keeps the latest of each for the cached getters. A new round starts at most once per
   * {@code period}, at once if the last one took longer. The refresher's queries take turns with
   * blocking reads, which wait at most for the one query under way. A controller that does not
   * answer makes every query print a console line.
   *
   * <p>When the refresher runs already, its period becomes {@code period}.
   *
   * @param period the shortest time between the starts of two rounds; zero runs them back to
   *     back
   * @throws IllegalArgumentException for a negative period
   * @throws NullPointerException for a null period
   * @throws IllegalStateException when the object is closed
   */
  public void startTelemetry(Duration period) {
    final long nanos = Checks.periodNanos(period);
    lifecycle.checkOpen();
    refresher.start(nanos);
  }

  /**
   * Stops the refresher and waits for its thread to end (at most the query under way). The
   * cached readings keep their last values, growing older. Does nothing when it is not running.
   *
   * @throws IllegalStateException when the object is closed
   */
  public void stopTelemetry() {
    lifecycle.checkOpen();
    refresher.stop();
  }

  /**
   * Whether the refresher runs.
   *
   * @throws IllegalStateException when the object is closed
   */
  public boolean isTelemetryRunning() {
    lifecycle.checkOpen();
    return refresher.isRunning();
  }

  /**
   * Stops the refresher (waiting for its thread to end), waits for the calls under way and
   * releases the device; another one of its kind may be opened then. Motors are not commanded:
   * disable them first if they should stop. Closing again does nothing.
   */
  @Override
  public void close() {
    lifecycle.close(
        () -> {
          refresher.stop();
          release();
        });
  }

  /** The device's name, as in "BrovaQuad on device 5". */
  @Override
  public String toString() {
    return lifecycle.name();
  }
}
