package com.quorvel.frc;

/**
 * One of a {@link BrovaQuad}'s four encoders, obtained with {@link BrovaQuad#getEncoder(int)}. It
 * holds the encoder's distance per tick, 1.0 (distances in ticks) until set, and reads through
 * its controller: after the controller is closed, every method throws {@link
 * IllegalStateException}. May be used from any thread.
 */
public final class BrovaQuadEncoder {
  private final BrovaQuad quad;
  private final int encoder;
  private volatile double distancePerTick = 1.0;

  BrovaQuadEncoder(BrovaQuad quad, int encoder) {
    this.quad = quad;
    this.encoder = encoder;
  }

  /** This encoder's number, 0..3. */
  public int getEncoderNumber() {
    quad.checkOpen();
    return encoder;
  }

  /**
   * Sets the distance one tick stands for, in the unit the distances are wanted in (for
   * example metres per tick); a negative value reverses the direction. Applies to the cached
   * and the blocking distance at once; nothing is sent.
   *
   * @throws IllegalArgumentException for NaN or an infinite value
   */
  public void setDistancePerTick(double distancePerTick) {
    Checks.distancePerTick(distancePerTick);
    quad.checkOpen();
    this.distancePerTick = distancePerTick;
  }

  /** The distance one tick stands for; 1.0 until set. */
  public double getDistancePerTick() {
    quad.checkOpen();
    return distancePerTick;
  }

  /**
   * The count times the distance per tick, as the controller's telemetry last read the count
   * ({@link BrovaQuad#startTelemetry}); with the count's state. Returns at once.
   */
  public Reading getDistance() {
    return quad.cachedTicks(encoder).times(distancePerTick);
  }

  /**
   * Reads the count now and returns it times the distance per tick: blocks for one reply pause
   * (10 ms). 0 when the reply does not come (with a console line).
   */
  public double getDistanceBlocking() {
    return quad.readEncoderDistance(encoder, distancePerTick);
  }

  /**
   * Sets the count to zero. The cached distance reads 0, fresh, from now on, until the
   * telemetry reads the count again. Never waits.
   */
  public void reset() {
    quad.sendResetEncoder(encoder);
  }

  /** "encoder <i>e</i> of BrovaQuad on device <i>n</i>". */
  @Override
  public String toString() {
    return "encoder " + encoder + " of " + quad;
  }
}
