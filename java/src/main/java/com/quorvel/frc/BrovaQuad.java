package com.quorvel.frc;

import com.quorvel.frc.jni.BrovaQuadEncoderJNI;
import com.quorvel.frc.jni.BrovaQuadJNI;
import java.time.Duration;

/**
 * A BrovaQuad four-channel brushed-motor controller on the CAN bus: motors and encoders 0..3.
 *
 * <pre>{@code
 * try (BrovaQuad quad = new BrovaQuad(5)) {
 *   quad.startTelemetry(Duration.ofMillis(20));
 *   quad.set(1, 0.5);                      // half forward on motor 1
 *   double amps = quad.getCurrent(1).orElse(0);  // cached: returns at once
 * }
 * }</pre>
 *
 * <p><b>One at a time.</b> The library sends every BrovaQuad operation to the device opened
 * last, so only one {@code BrovaQuad} may be open in the process: opening a second one throws
 * {@link IllegalStateException} naming the open one. Close it (try-with-resources) before opening
 * another. Objects of this class and direct calls to {@link BrovaQuadJNI} must not be mixed.
 *
 * <p><b>Commands</b> ({@link #set}, {@link #disable}, {@link #setFrequency}, {@link
 * #resetEncoder}) send one frame and never wait. <b>Blocking reads</b> (the methods ending in
 * {@code Blocking}, and the identity reads) send a request and wait the controller's reply pause,
 * 10 ms, before reading the reply; one that waits its turn behind another query of this model
 * waits up to 10 ms more. A reply that does not come reads as 0 and the library prints one line
 * on standard output. <b>Cached getters</b> ({@link #getCurrent}, {@link #getRPM}, {@link
 * #getTemperature}, {@link #getEncoderDistance}) return at once the latest {@link Reading} taken
 * by the refresher that {@link #startTelemetry} starts; they are absent until it has read them.
 *
 * <p>Every method may be called from any thread. After {@link #close()} every method but close
 * throws {@link IllegalStateException}.
 */
public final class BrovaQuad extends Controller {
  /** The number of motor channels, and of encoders: 4, numbered 0..3. */
  public static final int CHANNELS = Limits.QUAD_CHANNELS;

  /** The PWM frequency that {@link #BrovaQuad(int)} configures on every channel, in hertz. */
  public static final int DEFAULT_FREQUENCY_HZ = 15000;

  private static final DeviceSlot SLOT = new DeviceSlot();
  private static final QueryGate QUERIES = new QueryGate();

  private final CachedValue[] current = CachedValue.array(CHANNELS);
  private final CachedValue[] rpm = CachedValue.array(CHANNELS);
  private final CachedValue[] encoderTicks = CachedValue.array(CHANNELS);
  private final CachedValue temperature = new CachedValue();
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
   * the robot is enabled). Nothing is read back: a controller that is absent is found only by
   * its queries, which then read 0.
   *
   * @param deviceNumber the controller's CAN device number, 1..63
   * @param frequencyHz the motors' PWM frequency in hertz, 0..20000
   * @throws IllegalArgumentException for a device number or frequency outside its range
   * @throws IllegalStateException when a BrovaQuad is open already (the message names it), or
   *     when the library could not open the controller (it prints why)
   */
  public BrovaQuad(int deviceNumber, int frequencyHz) {
    super(
        "BrovaQuad",
        deviceNumber,
        frequencyHz,
        SLOT,
        QUERIES,
        BrovaQuad::open,
        BrovaQuadJNI::c_BrovaQuad_destroy);
    for (int encoder = 0; encoder < CHANNELS; ++encoder) {
      encoders[encoder] = new BrovaQuadEncoder(this, encoder);
    }
  }

  /** Creates the controller with channel 0 configured, then configures channels 1..3 alike. */
  private static long open(int deviceNumber, int frequencyHz) {
    final long created = BrovaQuadJNI.c_BrovaQuad_create(deviceNumber, frequencyHz, false, 0);
    for (int motor = 1; created != 0 && motor < CHANNELS; ++motor) {
      BrovaQuadJNI.c_BrovaQuad_configureMotor(created, frequencyHz, motor);
    }
    return created;
  }

  /**
   * Drives motor {@code motor} at {@code speed}: 1.0 is full forward, -1.0 full reverse, 0.0
   * stopped. The controller receives hundredths, truncated toward zero (0.299 sends 29); values
   * beyond ±1 are passed on as they are (up to ±2.55, beyond which they saturate). The motor
   * turns only while the robot is enabled. Never waits.
   *
   * @param motor the channel, 0..3
   * @param speed the output as a fraction of full: -1.0..1.0
   * @throws IllegalArgumentException for a channel outside 0..3 or a NaN speed
   */
  public void set(int motor, double speed) {
    Checks.channel("motor", motor, CHANNELS);
    Checks.speed(speed);
    lifecycle.run(() -> BrovaQuadJNI.c_BrovaQuad_setMotorSpeed(handle, motor, speed));
  }

  /**
   * Turns motor {@code motor}'s output off until the next {@link #set} of that motor. Never
   * waits.
   *
   * @param motor the channel, 0..3
   * @throws IllegalArgumentException for a channel outside 0..3
   */
  public void disable(int motor) {
    Checks.channel("motor", motor, CHANNELS);
    lifecycle.run(() -> BrovaQuadJNI.c_BrovaQuad_disableMotor(handle, motor));
  }

  /**
   * Sets motor {@code motor}'s PWM frequency. Never waits.
   *
   * @param motor the channel, 0..3
   * @param frequencyHz the frequency in hertz, 0..20000
   * @throws IllegalArgumentException for a channel or frequency outside its range
   */
  public void setFrequency(int motor, int frequencyHz) {
    Checks.channel("motor", motor, CHANNELS);
    Checks.frequency(frequencyHz);
    lifecycle.run(() -> BrovaQuadJNI.c_BrovaQuad_configureMotor(handle, frequencyHz, motor));
  }

  /**
   * The controller's firmware version as "Firmware Version: [a.b.c]"; "[0.0.0]" when the reply
   * does not come (with a console line). Blocks for one reply pause (10 ms).
   */
  public String getFirmwareVersion() {
    return lifecycle.queryObject(() -> BrovaQuadJNI.c_BrovaQuad_getFirmwareVersion(handle));
  }

  /**
   * The controller's hardware as "Hardware: Brova Quad, Version: n" (or "Brova Small" for that
   * hardware type); "No Hardware Found!" when the reply does not come or names no known hardware
   * (with a console line when it does not come). Blocks for one reply pause (10 ms).
   */
  public String getHardwareVersion() {
    return lifecycle.queryObject(() -> BrovaQuadJNI.c_BrovaQuad_getHardwareVersion(handle));
  }

  /**
   * The controller's serial number as three 32-bit words in upper-case hexadecimal,
   * "XXXXXXXX-XXXXXXXX-XXXXXXXX"; a word whose reply does not come reads as zeros, without a
   * console line. Blocks for one reply pause (10 ms).
   */
  public String getSerialNumber() {
    return lifecycle.queryObject(() -> BrovaQuadJNI.c_BrovaQuad_getSerialNumber(handle));
  }

  /**
   * Motor {@code motor}'s current in amperes (resolution 0.01 A) as the refresher last read it;
   * absent before its first read. Returns at once.
   *
   * @param motor the channel, 0..3
   * @throws IllegalArgumentException for a channel outside 0..3
   */
  public Reading getCurrent(int motor) {
    Checks.channel("motor", motor, CHANNELS);
    lifecycle.checkOpen();
    return current[motor].get();
  }

  /**
   * Motor {@code motor}'s speed in revolutions per minute (its magnitude, 0..65535) as the
   * refresher last read it; absent before its first read. Returns at once.
   *
   * @param motor the channel, 0..3
   * @throws IllegalArgumentException for a channel outside 0..3
   */
  public Reading getRPM(int motor) {
    Checks.channel("motor", motor, CHANNELS);
    lifecycle.checkOpen();
    return rpm[motor].get();
  }

  /**
   * The controller's temperature in degrees Celsius (resolution 0.01 °C) as the refresher last
   * read it; absent before its first read. Returns at once.
   */
  public Reading getTemperature() {
    lifecycle.checkOpen();
    return temperature.get();
  }

  /**
   * Encoder {@code encoder}'s count times its distance per tick ({@link
   * BrovaQuadEncoder#setDistancePerTick}; 1.0, counting ticks, by default), as the refresher last
   * read the count; absent before its first read. A change of distance per tick applies at once.
   * Returns at once.
   *
   * @param encoder the encoder, 0..3
   * @throws IllegalArgumentException for an encoder outside 0..3
   */
  public Reading getEncoderDistance(int encoder) {
    Checks.channel("encoder", encoder, CHANNELS);
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
    Checks.channel("motor", motor, CHANNELS);
    return lifecycle.query(() -> BrovaQuadJNI.c_BrovaQuad_getCurrent(handle, motor));
  }

  /**
   * Reads motor {@code motor}'s speed in revolutions per minute (0..65535) now: blocks for one
   * reply pause (10 ms). 0 when the reply does not come (with a console line).
   *
   * @param motor the channel, 0..3
   * @throws IllegalArgumentException for a channel outside 0..3
   */
  public double getRPMBlocking(int motor) {
    Checks.channel("motor", motor, CHANNELS);
    return lifecycle.query(() -> BrovaQuadJNI.c_BrovaQuad_getRPM(handle, motor));
  }

  /**
   * Reads the controller's temperature in degrees Celsius (resolution 0.01 °C) now: blocks for
   * one reply pause (10 ms). 0 when the reply does not come (with a console line).
   */
  public double getTemperatureBlocking() {
    return lifecycle.query(() -> BrovaQuadJNI.c_BrovaQuad_getControllerTemp(handle));
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
    Checks.channel("encoder", encoder, CHANNELS);
    return encoders[encoder].getDistanceBlocking();
  }

  /**
   * Sets encoder {@code encoder}'s count to zero. The cached distance reads 0 from now on, until
   * the refresher reads the count again. Never waits.
   *
   * @param encoder the encoder, 0..3
   * @throws IllegalArgumentException for an encoder outside 0..3
   */
  public void resetEncoder(int encoder) {
    Checks.channel("encoder", encoder, CHANNELS);
    encoders[encoder].reset();
  }

  /**
   * The view of encoder {@code encoder}, which holds its distance per tick; the same object on
   * every call.
   *
   * @param encoder the encoder, 0..3
   * @throws IllegalArgumentException for an encoder outside 0..3
   */
  public BrovaQuadEncoder getEncoder(int encoder) {
    Checks.channel("encoder", encoder, CHANNELS);
    lifecycle.checkOpen();
    return encoders[encoder];
  }

  // ---- For BrovaQuadEncoder ----

  Reading cachedTicks(int encoder) {
    lifecycle.checkOpen();
    return encoderTicks[encoder].get();
  }

  double readEncoderDistance(int encoder, double distancePerTick) {
    return lifecycle.query(
        () ->
            BrovaQuadEncoderJNI.c_BrovaQuadEncoder_getEncoderDistance(
                handle, encoder, distancePerTick, 0, 0.0));
  }

  void sendResetEncoder(int encoder) {
    lifecycle.run(
        () -> {
          BrovaQuadEncoderJNI.c_BrovaQuadEncoder_resetEncoder(handle, encoder);
          encoderTicks[encoder].reset(0.0);
        });
  }

  @Override
  void refreshRound() throws InterruptedException {
    for (int channel = 0; channel < CHANNELS; ++channel) {
      final int motor = channel;
      QUERIES.refresh(current[motor], () -> BrovaQuadJNI.c_BrovaQuad_getCurrent(handle, motor));
      QUERIES.refresh(rpm[motor], () -> BrovaQuadJNI.c_BrovaQuad_getRPM(handle, motor));
      QUERIES.refresh(
          encoderTicks[motor],
          () ->
              BrovaQuadEncoderJNI.c_BrovaQuadEncoder_getEncoderDistance(
                  handle, motor, 1.0, 0, 0.0));
    }
    QUERIES.refresh(temperature, () -> BrovaQuadJNI.c_BrovaQuad_getControllerTemp(handle));
  }
}
