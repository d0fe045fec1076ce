package com.quorvel.frc;

import java.time.Duration;
import java.util.Set;

/**
 * A BrovaQuad four-channel brushed-motor controller on the CAN bus: motors and encoders 0..3.
 *
 * <pre>{@code
 * try (BrovaQuad left = new BrovaQuad(5);
 *     BrovaQuad right = new BrovaQuad(6)) {
 *   left.startTelemetry(Duration.ofMillis(20));
 *   left.set(1, 0.5);                                // half forward on motor 1
 *   double amps = left.getCurrent(1).orElse(0);      // cached: returns at once
 *   boolean answering = right.isConnected();
 * }
 * }</pre>
 *
 * <p><b>One object per device.</b> Any number of controllers, of either model, may be open at
 * once, each on its own CAN device number. Opening a second object on a device number that an
 * open BrovaQuad or BrovaSmall holds throws {@link IllegalStateException} naming it ("BrovaQuad
 * on device 5 is already open; close it first"); once that one is closed, the number opens
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
 * 10 ms, before reading the reply; one that waits its turn behind a telemetry request or another
 * query of this controller waits up to 10 ms more. A reply that does not come reads as 0 and the
 * library prints one line on standard output. <b>Cached getters</b> ({@link #getCurrent}, {@link
 * #getRPM}, {@link #getTemperature}, {@link #getEncoderDistance}) return at once the latest
 * {@link Reading} the telemetry ({@link #startTelemetry}) took, with its state: absent until the
 * first answer, {@linkplain Reading#isMissing() missing} while the controller does not answer.
 *
 * <p>Every method may be called from any thread. After {@link #close()} every method but close
 * throws {@link IllegalStateException}.
 */
public final class BrovaQuad extends Controller {
  /** The number of motor channels, and of encoders: 4, numbered 0..3. */
  public static final int CHANNELS = Limits.QUAD_CHANNELS;

  /** The PWM frequency that {@link #BrovaQuad(int)} configures on every channel, in hertz. */
  public static final int DEFAULT_FREQUENCY_HZ = 15000;

  private static final int[] CURRENT = ReadingBlock.offsets(Quantity.CURRENT, CHANNELS);
  private static final int[] RPM = ReadingBlock.offsets(Quantity.RPM, CHANNELS);
  private static final int[] ENCODER = ReadingBlock.offsets(Quantity.ENCODER, CHANNELS);
  private static final int TEMPERATURE = ReadingBlock.offsets(Quantity.TEMPERATURE, 1)[0];

  /** What the argument checks call a channel, in the C++ objects' words. */
  private static final String MOTOR = "BrovaQuad motor";

  private static final String ENCODER_CHANNEL = "BrovaQuad encoder";

  private final BrovaQuadEncoder[] encoders = new BrovaQuadEncoder[CHANNELS];

  /**
   * Opens the BrovaQuad with CAN device number {@code deviceNumber} and configures all four
   * channels with {@value #DEFAULT_FREQUENCY_HZ} Hz. See {@link #BrovaQuad(int, int)}.
   */
  public BrovaQuad(int deviceNumber) {
    this(deviceNumber, DEFAULT_FREQUENCY_HZ);
  }

  /**
   * Opens the BrovaQuad with CAN device number {@code deviceNumber}, configures all four channels
   * with {@code frequencyHz} and starts its keep-alive frames (every 100 ms, telling it whether
   * the robot is enabled). Nothing is read back: whether the controller answers shows in {@link
   * #isConnected()} once the telemetry runs.
   *
   * @param deviceNumber the controller's CAN device number, 1..63
   * @param frequencyHz the motors' PWM frequency in hertz, 0..20000
   * @throws IllegalArgumentException for a device number or frequency outside its range
   * @throws IllegalStateException when an object is open on {@code deviceNumber} already (the
   *     message names it), or when the platform refused the controller
   */
  public BrovaQuad(int deviceNumber, int frequencyHz) {
    this(deviceNumber, new CanBus(0), frequencyHz);
  }

  /**
   * Opens the BrovaQuad with CAN device number {@code deviceNumber} on {@code bus} at {@value
   * #DEFAULT_FREQUENCY_HZ} Hz. See {@link #BrovaQuad(int, CanBus, int)}.
   */
  public BrovaQuad(int deviceNumber, CanBus bus) {
    this(deviceNumber, bus, DEFAULT_FREQUENCY_HZ);
  }

  /**
   * Opens the BrovaQuad with CAN device number {@code deviceNumber} on {@code bus}, as {@link
   * #BrovaQuad(int, int)} does on bus 0. Device 5 on bus 0 and device 5 on bus 2 are two
   * controllers.
   *
   * @param deviceNumber the controller's CAN device number, 1..63
   * @param bus the CAN bus it is on
   * @param frequencyHz the motors' PWM frequency in hertz, 0..20000
   * @throws IllegalArgumentException for a device number or frequency outside its range, or a
   *     bus the HAL does not have (the 2026 HAL has bus 0 only)
   * @throws NullPointerException for a null bus
   * @throws IllegalStateException when an object is open on that bus and device already, or the C
   *     entry points drive it (the message says which), or when the platform refused the
   *     controller
   */
  public BrovaQuad(int deviceNumber, CanBus bus, int frequencyHz) {
    super("BrovaQuad", DeviceNatives.QUAD, deviceNumber, bus, frequencyHz);
    for (int encoder = 0; encoder < CHANNELS; ++encoder) {
      encoders[encoder] = new BrovaQuadEncoder(this, encoder);
    }
  }

  /**
   * Drives motor {@code motor} at {@code speed}: 1.0 is full forward, -1.0 full reverse, 0.0
   * stopped. The controller receives hundredths, truncated toward zero (0.299 sends 29); a speed
   * beyond ±1, infinities too, is clamped to ±1. The motor turns only while the robot is
   * enabled. Never waits.
   *
   * @param motor the channel, 0..3
   * @param speed the output as a fraction of full: -1.0..1.0, clamped to it
   * @throws IllegalArgumentException for a channel outside 0..3 or a NaN speed
   */
  public void set(int motor, double speed) {
    Checks.channel(MOTOR, motor, CHANNELS);
    Checks.speed(speed);
    lifecycle.run(() -> DeviceNatives.setMotorSpeed(device, motor, speed));
  }

  /**
   * Turns motor {@code motor}'s output off until the next {@link #set} of that motor. Never
   * waits.
   *
   * @param motor the channel, 0..3
   * @throws IllegalArgumentException for a channel outside 0..3
   */
  public void disable(int motor) {
    Checks.channel(MOTOR, motor, CHANNELS);
    lifecycle.run(() -> DeviceNatives.disableMotor(device, motor));
  }

  /**
   * Sets motor {@code motor}'s PWM frequency. Never waits.
   *
   * @param motor the channel, 0..3
   * @param frequencyHz the frequency in hertz, 0..20000
   * @throws IllegalArgumentException for a channel or frequency outside its range
   */
  public void setFrequency(int motor, int frequencyHz) {
    Checks.channel(MOTOR, motor, CHANNELS);
    Checks.frequency(frequencyHz);
    lifecycle.run(() -> DeviceNatives.configureMotor(device, motor, frequencyHz));
  }

  /**
   * Starts reading {@code quantities} of the motor and encoder channels in {@code channels} (the
   * temperature is one per controller, read when chosen whatever the channels) in the
   * background; see {@link #startTelemetry(Duration, Set)}. Reading less keeps the bus freer:
   * each quantity of a channel costs two frames a round.
   *
   * <pre>{@code
   * quad.startTelemetry(Duration.ofMillis(20), EnumSet.of(Quantity.CURRENT, Quantity.ENCODER),
   *     Set.of(0, 1));
   * }</pre>
   *
   * @param period the shortest time between the starts of two rounds, positive
   * @param quantities what to read; the readings of the others stay as they are
   * @param channels the channels to read, each 0..3
   * @throws IllegalArgumentException for a zero or negative period, a null quantity, or a channel
   *     outside 0..3
   * @throws NullPointerException for a null period or set
   * @throws IllegalStateException when the controller is closed
   */
  public void startTelemetry(Duration period, Set<Quantity> quantities, Set<Integer> channels) {
    final long nanos = Checks.controllerPeriodNanos(period);
    final int chosen = Checks.quantities(quantities);
    startTelemetry(nanos, chosen, Checks.channels(channels, CHANNELS));
  }

  /**
   * The controller's firmware version as "Firmware Version: [a.b.c]"; "[0.0.0]" when the reply
   * does not come (with a console line). Blocks for one reply pause (10 ms).
   */
  public String getFirmwareVersion() {
    return lifecycle.queryObject(() -> DeviceNatives.getFirmwareVersion(device));
  }

  /**
   * The controller's hardware as "Hardware: Brova Quad, Version: n" (or "Brova Small" for that
   * hardware type); "No Hardware Found!" when the reply does not come or names no known hardware
   * (with a console line when it does not come). Blocks for one reply pause (10 ms).
   */
  public String getHardwareVersion() {
    return lifecycle.queryObject(() -> DeviceNatives.getHardwareVersion(device));
  }

  /**
   * The controller's serial number as three 32-bit words in upper-case hexadecimal,
   * "XXXXXXXX-XXXXXXXX-XXXXXXXX"; a word whose reply does not come reads as zeros, without a
   * console line. Blocks for one reply pause (10 ms).
   */
  public String getSerialNumber() {
    return lifecycle.queryObject(() -> DeviceNatives.getSerialNumber(device));
  }

  /**
   * Motor {@code motor}'s current in amperes (resolution 0.01 A) as the telemetry last read it.
   * Returns at once.
   *
   * @param motor the channel, 0..3
   * @throws IllegalArgumentException for a channel outside 0..3
   */
  public Reading getCurrent(int motor) {
    Checks.channel(MOTOR, motor, CHANNELS);
    return reading(CURRENT[motor]);
  }

  /**
   * Motor {@code motor}'s speed in revolutions per minute (its magnitude, 0..65535) as the
   * telemetry last read it. Returns at once.
   *
   * @param motor the channel, 0..3
   * @throws IllegalArgumentException for a channel outside 0..3
   */
  public Reading getRPM(int motor) {
    Checks.channel(MOTOR, motor, CHANNELS);
    return reading(RPM[motor]);
  }

  /**
   * The controller's temperature in degrees Celsius (resolution 0.01 °C) as the telemetry last
   * read it. Returns at once.
   */
  public Reading getTemperature() {
    return reading(TEMPERATURE);
  }

  /**
   * Encoder {@code encoder}'s count times its distance per tick ({@link
   * BrovaQuadEncoder#setDistancePerTick}; 1.0, counting ticks, by default), as the telemetry last
   * read the count. A change of distance per tick applies at once. Returns at once.
   *
   * @param encoder the encoder, 0..3
   * @throws IllegalArgumentException for an encoder outside 0..3
   */
  public Reading getEncoderDistance(int encoder) {
    Checks.channel(ENCODER_CHANNEL, encoder, CHANNELS);
    return encoders[encoder].getDistance();
  }

  /**
   * Reads motor {@code motor}'s current in amperes (resolution 0.01 A) now: blocks for one reply
   * pause (10 ms). 0 when the reply does not come (with a console line).
   *
   * @param motor the channel, 0..3
   * @throws IllegalArgumentException for a channel outside 0..3
   */
  public double getCurrentBlocking(int motor) {
    Checks.channel(MOTOR, motor, CHANNELS);
    return lifecycle.query(() -> DeviceNatives.getCurrent(device, motor));
  }

  /**
   * Reads motor {@code motor}'s speed in revolutions per minute (0..65535) now: blocks for one
   * reply pause (10 ms). 0 when the reply does not come (with a console line).
   *
   * @param motor the channel, 0..3
   * @throws IllegalArgumentException for a channel outside 0..3
   */
  public double getRPMBlocking(int motor) {
    Checks.channel(MOTOR, motor, CHANNELS);
    return lifecycle.query(() -> DeviceNatives.getRpm(device, motor));
  }

  /**
   * Reads the controller's temperature in degrees Celsius (resolution 0.01 °C) now: blocks for
   * one reply pause (10 ms). 0 when the reply does not come (with a console line).
   */
  public double getTemperatureBlocking() {
    return lifecycle.query(() -> DeviceNatives.getTemperature(device));
  }

  /**
   * Reads encoder {@code encoder}'s count now and returns it times the encoder's distance per
   * tick: blocks for one reply pause (10 ms). 0 when the reply does not come (with a console
   * line).
   *
   * @param encoder the encoder, 0..3
   * @throws IllegalArgumentException for an encoder outside 0..3
   */
  public double getEncoderDistanceBlocking(int encoder) {
    Checks.channel(ENCODER_CHANNEL, encoder, CHANNELS);
    return encoders[encoder].getDistanceBlocking();
  }

  /**
   * Sets encoder {@code encoder}'s count to zero. The cached distance reads 0, fresh, from now
   * on, until the telemetry reads the count again; an encoder read under way does not overwrite
   * it. Never waits.
   *
   * @param encoder the encoder, 0..3
   * @throws IllegalArgumentException for an encoder outside 0..3
   */
  public void resetEncoder(int encoder) {
    Checks.channel(ENCODER_CHANNEL, encoder, CHANNELS);
    encoders[encoder].reset();
  }

  /**
   * Sets the distance one of encoder {@code encoder}'s ticks stands for: {@link
   * BrovaQuadEncoder#setDistancePerTick} of {@link #getEncoder getEncoder(encoder)}.
   *
   * @param encoder the encoder, 0..3
   * @throws IllegalArgumentException for an encoder outside 0..3, or NaN or an infinite distance
   */
  public void setDistancePerTick(int encoder, double distancePerTick) {
    Checks.channel(ENCODER_CHANNEL, encoder, CHANNELS);
    encoders[encoder].setDistancePerTick(distancePerTick);
  }

  /**
   * The distance one of encoder {@code encoder}'s ticks stands for; 1.0 until set.
   *
   * @param encoder the encoder, 0..3
   * @throws IllegalArgumentException for an encoder outside 0..3
   */
  public double getDistancePerTick(int encoder) {
    Checks.channel(ENCODER_CHANNEL, encoder, CHANNELS);
    return encoders[encoder].getDistancePerTick();
  }

  /**
   * The view of encoder {@code encoder}, which holds its distance per tick; the same object on
   * every call.
   *
   * @param encoder the encoder, 0..3
   * @throws IllegalArgumentException for an encoder outside 0..3
   */
  public BrovaQuadEncoder getEncoder(int encoder) {
    Checks.channel(ENCODER_CHANNEL, encoder, CHANNELS);
    lifecycle.checkOpen();
    return encoders[encoder];
  }

  // ---- For BrovaQuadEncoder ----

  Reading cachedTicks(int encoder) {
    return reading(ENCODER[encoder]);
  }

  double readEncoderDistance(int encoder, double distancePerTick) {
    return lifecycle.query(() -> DeviceNatives.getEncoderDistance(device, encoder, distancePerTick));
  }

  void sendResetEncoder(int encoder) {
    lifecycle.run(() -> DeviceNatives.resetEncoder(device, encoder));
  }
}
