package com.quorvel.frc;

/**
 * A BrovaSmall single-channel brushed-motor controller on the CAN bus, with one encoder.
 *
 * <pre>{@code
 * try (BrovaSmall small = new BrovaSmall(7)) {
 *   small.startTelemetry(Duration.ofMillis(100));
 *   small.set(0.3);
 *   double amps = small.getCurrent().orElse(0);  // cached: returns at once
 * }
 * }</pre>
 *
 * <p><b>One object per device.</b> Any number of controllers, of either model, may be open at
 * once, each on its own CAN device number. Opening a second object on a device number that an
 * open BrovaQuad or BrovaSmall holds throws {@link IllegalStateException} naming it ("BrovaSmall
 * on device 7 is already open; close it first"); once that one is closed, the number opens
 * again. The objects live in libBrovaDriver.so, the library of {@code com.quorvel.frc.jni}'s
 * classes too, which keeps the keep-alive frames of all open controllers on one thread and reads
 * their telemetry on another.
 *
 * <p><b>Do not mix these objects with the classes of {@code com.quorvel.frc.jni}</b> on one
 * device. Those address the device of their model's most recent create, run keep-alive threads
 * of their own, and their queries can take replies meant for the objects' telemetry, and the
 * objects' for theirs.
 *
 * <p><b>Commands</b> ({@link #set}, {@link #disable}, {@link #setFrequency}, {@link
 * #resetEncoder}) send one frame and never wait. <b>Blocking reads</b> (the methods ending in
 * {@code Blocking}, and the identity reads) send a request and wait the controller's reply pause,
 * 100 ms, before reading the reply; one that waits its turn behind a telemetry request or another
 * query of this controller waits up to 100 ms more. Never call them from a 20 ms robot loop. A
 * reply that does not come reads as 0 and the library prints one line on standard output.
 * <b>Cached getters</b> ({@link #getCurrent}, {@link #getEncoderDistance}) return at once the
 * latest {@link Reading} the telemetry ({@link #startTelemetry}) took, with its state: absent
 * until the first answer, {@linkplain Reading#isMissing() missing} while the controller does not
 * answer. A BrovaSmall has no speed or temperature replies: its telemetry reads the current and
 * the encoder.
 *
 * <p>Every method may be called from any thread. After {@link #close()} every method but close
 * throws {@link IllegalStateException}.
 */
public final class BrovaSmall extends Controller {
  /** The PWM frequency that {@link #BrovaSmall(int)} configures, in hertz. */
  public static final int DEFAULT_FREQUENCY_HZ = 15000;

  private static final int CURRENT = ReadingBlock.offsets(Quantity.CURRENT, 1)[0];
  private static final int ENCODER = ReadingBlock.offsets(Quantity.ENCODER, 1)[0];

  private final BrovaSmallEncoder encoder = new BrovaSmallEncoder(this);

  /**
   * Opens the BrovaSmall with CAN device number {@code deviceNumber} at {@value
   * #DEFAULT_FREQUENCY_HZ} Hz. See {@link #BrovaSmall(int, int)}.
   */
  public BrovaSmall(int deviceNumber) {
    this(deviceNumber, DEFAULT_FREQUENCY_HZ);
  }

  /**
   * Opens the BrovaSmall with CAN device number {@code deviceNumber}, configures its motor with
   * {@code frequencyHz} and starts its keep-alive frames (every 100 ms, telling it whether the
   * robot is enabled). The library prints "Brova Initialized". Nothing is read back: whether the
   * controller answers shows in {@link #isConnected()} once the telemetry runs.
   *
   * @param deviceNumber the controller's CAN device number, 1..63
   * @param frequencyHz the motor's PWM frequency in hertz, 0..20000
   * @throws IllegalArgumentException for a device number or frequency outside its range
   * @throws IllegalStateException when an object is open on {@code deviceNumber} already (the
   *     message names it), or when the platform refused the controller
   */
  public BrovaSmall(int deviceNumber, int frequencyHz) {
    this(deviceNumber, new CanBus(0), frequencyHz);
  }

  /**
   * Opens the BrovaSmall with CAN device number {@code deviceNumber} on {@code bus} at {@value
   * #DEFAULT_FREQUENCY_HZ} Hz. See {@link #BrovaSmall(int, CanBus, int)}.
   */
  public BrovaSmall(int deviceNumber, CanBus bus) {
    this(deviceNumber, bus, DEFAULT_FREQUENCY_HZ);
  }

  /**
   * Opens the BrovaSmall with CAN device number {@code deviceNumber} on {@code bus}, as {@link
   * #BrovaSmall(int, int)} does on bus 0.
   *
   * @param deviceNumber the controller's CAN device number, 1..63
   * @param bus the CAN bus it is on
   * @param frequencyHz the motor's PWM frequency in hertz, 0..20000
   * @throws IllegalArgumentException for a device number or frequency outside its range, or a
   *     bus the HAL does not have (the 2026 HAL has bus 0 only)
   * @throws NullPointerException for a null bus
   * @throws IllegalStateException when an object is open on that bus and device already, or the C
   *     entry points drive it, or when the platform refused the controller
   */
  public BrovaSmall(int deviceNumber, CanBus bus, int frequencyHz) {
    super("BrovaSmall", DeviceNatives.SMALL, deviceNumber, bus, frequencyHz);
  }

  /**
   * Drives the motor at {@code speed}: 1.0 is full forward, -1.0 full reverse, 0.0 stopped. The
   * controller receives hundredths, truncated toward zero (0.299 sends 29); a speed beyond ±1,
   * infinities too, is clamped to ±1. The motor turns only while the robot is enabled. Never
   * waits.
   *
   * @param speed the output as a fraction of full: -1.0..1.0, clamped to it
   * @throws IllegalArgumentException for a NaN speed
   */
  public void set(double speed) {
    Checks.speed(speed);
    lifecycle.run(() -> DeviceNatives.setMotorSpeed(device, 0, speed));
  }

  /** Turns the motor's output off until the next {@link #set}. Never waits. */
  public void disable() {
    lifecycle.run(() -> DeviceNatives.disableMotor(device, 0));
  }

  /**
   * Sets the motor's PWM frequency. Never waits.
   *
   * @param frequencyHz the frequency in hertz, 0..20000
   * @throws IllegalArgumentException for a frequency outside 0..20000
   */
  public void setFrequency(int frequencyHz) {
    Checks.frequency(frequencyHz);
    lifecycle.run(() -> DeviceNatives.configureMotor(device, 0, frequencyHz));
  }

  /**
   * The controller's firmware version as "Firmware Version: [a.b.c]"; "[0.0.0]" when the reply
   * does not come (with a console line). Blocks for one reply pause (100 ms).
   */
  public String getFirmwareVersion() {
    return lifecycle.queryObject(() -> DeviceNatives.getFirmwareVersion(device));
  }

  /**
   * The controller's hardware as "Hardware: Brova Small, Version: n" ("Brova Quad" for that
   * hardware type); "Hardware: Brova Small, Version: 0" when the reply does not come (with a
   * console line). Blocks for one reply pause (100 ms).
   */
  public String getHardwareVersion() {
    return lifecycle.queryObject(() -> DeviceNatives.getHardwareVersion(device));
  }

  /**
   * The controller's serial number as three 32-bit words in upper-case hexadecimal,
   * "XXXXXXXX-XXXXXXXX-XXXXXXXX"; a word whose reply does not come reads as zeros, without a
   * console line. Blocks for one reply pause (100 ms).
   */
  public String getSerialNumber() {
    return lifecycle.queryObject(() -> DeviceNatives.getSerialNumber(device));
  }

  /**
   * The motor current in amperes as the telemetry last read it (the library adds the reply's two
   * bytes, so whole amperes). Returns at once.
   */
  public Reading getCurrent() {
    return reading(CURRENT);
  }

  /**
   * The encoder's count times its distance per tick ({@link
   * BrovaSmallEncoder#setDistancePerTick}; 1.0, counting ticks, by default), as the telemetry
   * last read the count. Returns at once.
   */
  public Reading getEncoderDistance() {
    return encoder.getDistance();
  }

  /**
   * Reads the motor current in amperes now (whole amperes): blocks for one reply pause (100 ms).
   * 0 when the reply does not come (with a console line).
   */
  public double getCurrentBlocking() {
    return lifecycle.query(() -> DeviceNatives.getCurrent(device, 0));
  }

  /**
   * Reads the encoder's count now and returns it times the distance per tick: blocks for one
   * reply pause (100 ms). 0 when the reply does not come (with a console line).
   */
  public double getEncoderDistanceBlocking() {
    return encoder.getDistanceBlocking();
  }

  /**
   * Sets the encoder's count to zero. The cached distance reads 0, fresh, from now on, until the
   * telemetry reads the count again; an encoder read under way does not overwrite it. Never
   * waits.
   */
  public void resetEncoder() {
    encoder.reset();
  }

  /**
   * Sets the distance one encoder tick stands for: {@link BrovaSmallEncoder#setDistancePerTick}
   * of {@link #getEncoder()}.
   *
   * @throws IllegalArgumentException for NaN or an infinite value
   */
  public void setDistancePerTick(double distancePerTick) {
    encoder.setDistancePerTick(distancePerTick);
  }

  /** The distance one encoder tick stands for; 1.0 until set. */
  public double getDistancePerTick() {
    return encoder.getDistancePerTick();
  }

  /** The view of the encoder, which holds its distance per tick; the same object on every call. */
  public BrovaSmallEncoder getEncoder() {
    lifecycle.checkOpen();
    return encoder;
  }

  // ---- For BrovaSmallEncoder ----

  Reading cachedTicks() {
    return reading(ENCODER);
  }

  double readEncoderDistance(double distancePerTick) {
    return lifecycle.query(() -> DeviceNatives.getEncoderDistance(device, 0, distancePerTick));
  }

  void sendResetEncoder() {
    lifecycle.run(() -> DeviceNatives.resetEncoder(device, 0));
  }
}
