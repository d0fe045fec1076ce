package com.quorvel.frc;

/**
 * A {@link BrovaSmall}'s encoder, obtained with {@link BrovaSmall#getEncoder()}. It holds the
 * encoder's distance per tick, 1.0 (distances in ticks) until set, and reads through its
 * controller: after the controller is closed, every method throws {@link IllegalStateException}.
 * May be used from any thread.
 */
public final class BrovaSmallEncoder {
  private final BrovaSmall small;
  private volatile double distancePerTick = 1.0;

  BrovaSmallEncoder(BrovaSmall small) {
    this.small = small;
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
    small.checkOpen();
    this.distancePerTick = distancePerTick;
  }

  /** The distance one tick stands for; 1.0 until set. */
  public double getDistancePerTick() {
    small.checkOpen();
    return distancePerTick;
  }

  /**
   * The count times the distance per tick, as the controller's telemetry last read the count
   * ({@link BrovaSmall#startTelemetry}); with the count's state. Returns at once.
   */
  public Reading getDistance() {
    return small.cachedTicks().times(distancePerTick);
  }

  /**
   * Reads the count now and returns it times the distance per tick: blocks for one reply pause
   * (100 ms). 0 when the reply does not come (with a console line).
   */
  public double getDistanceBlocking() {
    return small.readEncoderDistance(distancePerTick);
  }

  /**
   * Sets the count to zero. The cached distance reads 0, fresh, from now on, until the
   * telemetry reads the count again. Never waits.
   */
  public void reset() {
    small.sendResetEncoder();
  }

  /** "encoder of BrovaSmall on device <i>n</i>". */
  @Override
  public String toString() {
    return "encoder of " + small;
  }
}
