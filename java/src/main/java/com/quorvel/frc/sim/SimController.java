package com.quorvel.frc.sim;

/**
 * A simulated BrovaQuad or BrovaSmall on a simulated CAN bus: it answers the library's queries,
 * obeys its commands and follows the robot's keep-alive, with its motors moved by a first-order
 * brushed DC motor model (see brovasim/SimController.h). Closing detaches it.
 */
public final class SimController implements AutoCloseable {
  /** The two controller models. */
  public enum Model {
    QUAD,
    SMALL
  }

  static {
    SimLibrary.load();
  }

  private long controller;

  private SimController(long controller) {
    this.controller = controller;
  }

  /**
   * Attaches a controller answering on CAN device number {@code device} (0..63: the broadcast
   * address 0 too) on bus 0. Attach after {@link SimCan#reset()}, which forgets the controllers
   * listening to the buses.
   *
   * @throws IllegalArgumentException for a device number outside 0..63
   */
  public static SimController attach(Model model, int device) {
    return attach(model, device, 0);
  }

  /**
   * Attaches a controller answering on CAN device number {@code device} on {@code bus}: it hears
   * only that bus's frames and puts its replies there.
   *
   * @throws IllegalArgumentException for a device number outside 0..63, or a bus outside 0 to
   *     {@link SimCan#BUSES} - 1
   */
  public static SimController attach(Model model, int device, int bus) {
    // The six device-number bits of an identifier; the simulated platform keeps its own limit,
    // apart from the driver's.
    if (device < 0 || device > 63) {
      throw new IllegalArgumentException("device number " + device + " is outside 0..63");
    }
    return new SimController(attachController(model == Model.QUAD, device, SimCan.checkBus(bus)));
  }

  /** Whether the controller answers queries (it obeys commands either way). */
  public synchronized void setAnswering(boolean answering) {
    if (controller != 0) {
      setAnswering(controller, answering);
    }
  }

  /** The fraction (0..1) of the motor's torque that a load takes on {@code channel}. */
  public synchronized void setLoad(int channel, double fraction) {
    if (controller != 0) {
      setLoad(controller, channel, fraction);
    }
  }

  /** Whether the outputs are driven (active keep-alive frames keep arriving). */
  public synchronized boolean enabled() {
    return controller != 0 && enabled(controller);
  }

  /** Signed motor speed of {@code channel} in revolutions per minute. */
  public synchronized double rpm(int channel) {
    return controller != 0 ? rpm(controller, channel) : 0.0;
  }

  /** Encoder count of {@code channel} since its last reset. */
  public synchronized int encoderCount(int channel) {
    return controller != 0 ? encoderCount(controller, channel) : 0;
  }

  /** The speed last commanded on {@code channel} over the bus. */
  public synchronized double commandedSpeed(int channel) {
    return controller != 0 ? commandedSpeed(controller, channel) : 0.0;
  }

  /** Controller temperature in degrees Celsius. */
  public synchronized double temperature() {
    return controller != 0 ? temperature(controller) : 0.0;
  }

  @Override
  public synchronized void close() {
    if (controller != 0) {
      detach(controller);
      controller = 0;
    }
  }

  private static native long attachController(boolean quad, int device, int bus);

  private static native void setAnswering(long controller, boolean answering);

  private static native void setLoad(long controller, int channel, double fraction);

  private static native boolean enabled(long controller);

  private static native double rpm(long controller, int channel);

  private static native int encoderCount(long controller, int channel);

  private static native double commandedSpeed(long controller, int channel);

  private static native double temperature(long controller);

  private static native void detach(long controller);
}
