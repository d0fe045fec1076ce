package com.quorvel.frc;

import java.time.Duration;
import java.util.Collections;
import java.util.EnumSet;
import java.util.Objects;
import java.util.Set;
import java.util.concurrent.ConcurrentHashMap;

/**
 * What the two controller models share: an open device of the driver library, the readings its
 * telemetry keeps in memory this object owns, and closing. Calls that reach the library run
 * under the lifecycle's read lock, so the device is never used after close has freed it; the
 * cached getters read only this object's memory and take no lock.
 */
abstract class Controller implements AutoCloseable {
  /**
   * The readings of the open controllers, kept reachable while the library writes them: a
   * controller dropped without close must not leave the library writing to collected memory.
   */
  private static final Set<ReadingBlock> OPEN = ConcurrentHashMap.newKeySet();

  private static final Set<Quantity> EVERYTHING =
      Collections.unmodifiableSet(EnumSet.allOf(Quantity.class));
  static final int EVERY_CHANNEL = (1 << Limits.QUAD_CHANNELS) - 1;

  // The simulation classes' natives (com.quorvel.frc.sim) read these two by name.
  final Lifecycle lifecycle;
  final long device;
  final ReadingBlock readings;
  private final int deviceNumber;
  private final CanBus bus;

  /** Checks the arguments and opens controller {@code deviceNumber} of {@code kind} on {@code bus}. */
  Controller(String model, int kind, int deviceNumber, CanBus bus, int frequencyHz) {
    Checks.deviceNumber(model, deviceNumber);
    Objects.requireNonNull(bus, "bus");
    Checks.frequency(frequencyHz);
    this.deviceNumber = deviceNumber;
    this.bus = bus;
    final String name =
        model
            + " on device "
            + deviceNumber
            + (bus.getId() == 0 ? "" : " of CAN bus " + bus.getId());
    lifecycle = new Lifecycle(name, new QueryGate());
    readings = new ReadingBlock();
    OPEN.add(readings);
    try {
      device = DeviceNatives.open(kind, deviceNumber, bus.getId(), frequencyHz, readings.buffer());
    } catch (RuntimeException | Error e) {
      OPEN.remove(readings);
      throw e;
    }
  }

  /**
   * Whether the controller is open: true until {@link #close()}. Every other method of a closed
   * controller throws {@link IllegalStateException} naming it ("BrovaQuad on device 5 is
   * closed"), as the C++ objects do.
   */
  public boolean isOpen() {
    return lifecycle.isOpen();
  }

  /** The CAN device number given when opening (no bus traffic). */
  public int getDeviceNumber() {
    lifecycle.checkOpen();
    return deviceNumber;
  }

  /** The CAN bus given when opening, bus 0 when none was (no bus traffic). */
  public CanBus getCanBus() {
    lifecycle.checkOpen();
    return bus;
  }

  /**
   * Whether the controller answered lately, its telemetry or a blocking query: within the last
   * second (or three telemetry rounds, when longer), and fewer than three requests in a row went
   * unanswered since. False until its first answer. Returns at once.
   */
  public boolean isConnected() {
    lifecycle.checkOpen();
    return readings.connected();
  }

  /**
   * Starts reading every quantity of every channel in the background: see {@link
   * #startTelemetry(Duration, Set)}.
   *
   * @param period the shortest time between the starts of two rounds, positive
   * @throws IllegalArgumentException for a zero or negative period
   * @throws NullPointerException for a null period
   * @throws IllegalStateException when the controller is closed
   */
  public void startTelemetry(Duration period) {
    startTelemetry(period, EVERYTHING);
  }

  /**
   * Starts reading {@code quantities} in the background, for the cached getters, a round at
   * most once per {@code period} (at once if the last one took longer). The library reads the
   * telemetry of every open controller on one thread, a round of requests at a time, and keeps
   * each answer in this object's memory; the blocking reads wait at most for one request under
   * way on this controller. A request that goes unanswered makes its reading {@linkplain
   * Reading#isMissing() missing}, without a console line. Quantities a model does not have (the
   * speed and temperature of a BrovaSmall) are not read.
   *
   * <p>Calling it again replaces the choice and the period.
   *
   * @param period the shortest time between the starts of two rounds, positive
   * @param quantities what to read; the readings of the others stay as they are
   * @throws IllegalArgumentException for a zero or negative period, or a null quantity
   * @throws NullPointerException for a null period or set
   * @throws IllegalStateException when the controller is closed
   */
  public void startTelemetry(Duration period, Set<Quantity> quantities) {
    final long nanos = Checks.telemetryPeriodNanos(period);
    startTelemetry(nanos, Checks.quantities(quantities), EVERY_CHANNEL);
  }

  /** Starts the telemetry with arguments checked. */
  final void startTelemetry(long periodNanos, int quantities, int channels) {
    lifecycle.run(() -> DeviceNatives.startTelemetry(device, periodNanos, quantities, channels));
  }

  /**
   * Takes the controller off the telemetry thread; returns when no request of it is under way.
   * The cached readings keep their last values, growing older. Does nothing when it is not
   * running.
   *
   * @throws IllegalStateException when the controller is closed
   */
  public void stopTelemetry() {
    lifecycle.run(() -> DeviceNatives.stopTelemetry(device));
  }

  /**
   * Whether the telemetry reads this controller.
   *
   * @throws IllegalStateException when the controller is closed
   */
  public boolean isTelemetryRunning() {
    return lifecycle.test(() -> DeviceNatives.telemetryRunning(device));
  }

  /**
   * Stops the telemetry and the keep-alive frames of this controller (none is sent after close
   * returns), waits for the calls under way and releases the device number; another object may
   * open it then. Motors are not commanded: disable them first if they should stop. Closing
   * again does nothing.
   */
  @Override
  public void close() {
    lifecycle.close(
        () -> {
          DeviceNatives.close(device);
          OPEN.remove(readings);
        });
  }

  /** The controller's name, as in "BrovaQuad on device 5". */
  @Override
  public String toString() {
    return lifecycle.name();
  }

  /** The cached reading at {@code offset} of the readings. */
  final Reading reading(int offset) {
    lifecycle.checkOpen();
    return readings.read(offset);
  }

  /** Throws {@link IllegalStateException} once the controller is closed; for its encoders. */
  final void checkOpen() {
    lifecycle.checkOpen();
  }
}
