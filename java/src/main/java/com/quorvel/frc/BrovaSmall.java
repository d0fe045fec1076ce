package com.quorvel.frc;

import com.quorvel.frc.jni.BrovaSmallEncoderJNI;
import com.quorvel.frc.jni.BrovaSmallJNI;
import java.time.Duration;

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
 * <p><b>One at a time.</b> The library sends every BrovaSmall operation to the device opened
 * last, so only one {@code BrovaSmall} may be open in the process: opening a second one throws
 * {@link IllegalStateException} naming the open one. Objects of this class and direct calls to
 * {@link BrovaSmallJNI} must not be mixed.
 *
 * <p><b>Commands</b> ({@link #set}, {@link #disable}, {@link #setFrequency}, {@link
 * #resetEncoder}) send one frame and never wait. <b>Blocking reads</b> (the methods ending in
 * {@code Blocking}, and the identity reads) send a request and wait the controller's reply pause,
 * 100 ms, before reading the reply; one that waits its turn behind another query of this model
 * waits up to 100 ms more. Never call them from a 20 ms robot loop. A reply that does not come
 * reads as 0 and the library prints one line on standard output. <b>Cached getters</b> ({@link
 * #getCurrent}, {@link #getEncoderDistance}) return at once the latest {@link Reading} taken by
 * the refresher that {@link #startTelemetry} starts; they are absent until it has read them.
 *
 * <p>Every method may be called from any thread. After {@link #close()} every method but close
 * throws {@link IllegalStateException}.
 */
public final class BrovaSmall extends Controller {
  /** The PWM frequency that {@link #BrovaSmall(int)} configures, in hertz. */
  public static final int DEFAULT_FREQUENCY_HZ = 15000;

  private static final DeviceSlot SLOT = new DeviceSlot();
  private static final QueryGate QUERIES = new QueryGate();

  private final CachedValue current = new CachedValue();
  private final CachedValue encoderTicks = new CachedValue();
  private final BrovaSmallEncoder encoder;

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
   * robot is enabled). The library prints "Brova Initialized". Nothing is read back: a controller
   * that is absent is found only by its queries, which then read 0.
   *
   * @param deviceNumber the controller's CAN device number, 1..63
   * @param frequencyHz the motor's PWM frequency in hertz, 0..20000
   * @throws IllegalArgumentException for a device number or frequency outside its range
   * @throws IllegalStateException when a BrovaSmall is open already (the message names it), or
   *     when the library could not open the controller (it prints why)
   */
  public BrovaSmall(int deviceNumber, int frequencyHz) {
    super(
        "BrovaSmall",
        deviceNumber,
        frequencyHz,
        SLOT,
        QUERIES,
        (device, frequency) -> BrovaSmallJNI.c_BrovaSmall_create(device, frequency, false),
        BrovaSmallJNI::c_BrovaSmall_destroy);
    encoder = new BrovaSmallEncoder(this);
  }

  /**
   * Drives the motor at {@code speed}: 1.0 is full forward, -1.0 full reverse, 0.0 stopped. The
   * controller receives hundredths, truncated toward zero (0.299 sends 29); values beyond ±1 are
   * passed on as they are (up to ±2.55, beyond which they saturate). The motor turns only while
   * the robot is enabled. Never waits.
   *
   * @param speed the output as a fraction of full: -1.0..1.0
   * @throws IllegalArgumentException for a NaN speed
   */
  public void set(double speed) {
    Checks.speed(speed);
    lifecycle.run(() -> BrovaSmallJNI.c_BrovaSmall_setMotorSpeed(handle, speed));
  }

  /** Turns the motor's output off until the next {@link #set}. Never waits. */
  public void disable() {
    lifecycle.run(() -> BrovaSmallJNI.c_BrovaSmall_disableMotor(handle));
  }

  /**
   * Sets the motor's PWM frequency. Never waits.
   *
   * @param frequencyHz the frequency in hertz, 0..20000
   * @throws IllegalArgumentException for a frequency outside 0..20000
   */
  public void setFrequency(int frequencyHz) {
    Checks.frequency(frequencyHz);
    lifecycle.run(() -> BrovaSmallJNI.c_BrovaSmall_configureMotor(handle, frequencyHz));
  }

  /**
   * The controller's firmware version as "Firmware Version: [a.b.c]"; "[0.0.0]" when the reply
   * does not come (with a console line). Blocks for one reply pause (100 ms).
   */
  public String getFirmwareVersion() {
    return lifecycle.queryObject(() -> BrovaSmallJNI.c_BrovaSmall_getFirmwareVersion(handle));
  }

  /**
   * The controller's hardware as "Hardware: Brova Small, Version: n" ("Brova Quad" for that
   * hardware type); "Hardware: Brova Small, Version: 0" when the reply does not come (with a
   * console line). Blocks for one reply pause (100 ms).
   */
  public String getHardwareVersion() {
    return lifecycle.queryObject(() -> BrovaSmallJNI.c_BrovaSmall_getHardwareVersion(handle));
  }

  /**
   * The controller's serial number as three 32-bit words in upper-case hexadecimal,
   * "XXXXXXXX-XXXXXXXX-XXXXXXXX"; a word whose reply does not come reads as zeros, without a
   * console line. Blocks for one reply pause (100 ms).
   */
  public String getSerialNumber() {
    return lifecycle.queryObject(() -> BrovaSmallJNI.c_BrovaSmall_getSerialNumber(handle));
  }

  /**
   * The motor current in amperes as the refresher last read it (the library adds the reply's two
   * bytes, so whole amperes); absent before its first read. Returns at once.
   */
  public Reading getCurrent() {
    lifecycle.checkOpen();
    return current.get();
  }

  /**
   * The encoder's count times its distance per tick ({@link
   * BrovaSmallEncoder#setDistancePerTick}; 1.0, counting ticks, by default), as the refresher last
   * read the count; absent before its first read. Returns at once.
   */
  public Reading getEncoderDistance() {
    return encoder.getDistance();
  }

  /**
   * Reads the motor current in amperes now (whole amperes): blocks for one reply pause (100 ms).
   * 0 when the reply does not come (with a console line).
   */
  public double getCurrentBlocking() {
    return lifecycle.query(() -> BrovaSmallJNI.c_BrovaSmall_getCurrent(handle));
  }

  /**
   * Reads the encoder's count now and returns it times the distance per tick: blocks for one
   * reply pause (100 ms). 0 when the reply does not come (with a console line).
   */
  public double getEncoderDistanceBlocking() {
    return encoder.getDistanceBlocking();
  }

  /**
   * Sets the encoder's count to zero. The cached distance reads 0 from now on, until the
   * refresher reads the count again. Never waits.
   */
  public void resetEncoder() {
    encoder.reset();
  }

  /** The view of the encoder, which holds its distance per tick; the same object on every call. */
  public BrovaSmallEncoder getEncoder() {
    lifecycle.checkOpen();
    return encoder;
  }

  // ---- For BrovaSmallEncoder ----

  Reading cachedTicks() {
    lifecycle.checkOpen();
    return encoderTicks.get();
  }

  double readEncoderDistance(double distancePerTick) {
    return lifecycle.query(
        () ->
            BrovaSmallEncoderJNI.c_BrovaSmallEncoder_getEncoderDistance(
                handle, distancePerTick, 0.0, 0.0));
  }

  void sendResetEncoder() {
    lifecycle.run(
        () -> {
          BrovaSmallEncoderJNI.c_BrovaSmallEncoder_resetEncoder(handle);
          encoderTicks.reset(0.0);
        });
  }

  @Override
  void refreshRound() throws InterruptedException {
    QUERIES.refresh(current, () -> BrovaSmallJNI.c_BrovaSmall_getCurrent(handle));
    QUERIES.refresh(
        encoderTicks,
        () -> BrovaSmallEncoderJNI.c_BrovaSmallEncoder_getEncoderDistance(handle, 1.0, 0.0, 0.0));
  }
}
