package com.quorvel.frc.sim;

import com.quorvel.frc.BrovaQuad;
import java.util.Objects;

/**
 * A BrovaQuad's simulated device, for a team's own simulation code (libBrovaDriver.so).
 *
 * <p>In a simulation (WPILib's desktop simulation, or this library's simulated platform with a
 * simulated controller attached) a device model answers the controller: its motors follow the
 * outputs the program sets, by a motor model with heating and an encoder. A BrovaQuadSim, made
 * from the open object, reads what the controller applies and lets a mechanism simulation take
 * over what it measures:
 *
 * <pre>{@code
 * BrovaQuad quad = new BrovaQuad(5);
 * BrovaQuadSim quadSim = new BrovaQuadSim(quad);
 * // each simulation step:
 * arm.setInputVoltage(quadSim.getAppliedOutput(0) * 12.0);
 * arm.update(0.02);
 * quadSim.setRPM(0, arm.getVelocityRpm());
 * quadSim.setCurrent(0, arm.getCurrentDrawAmps());
 * }</pre>
 *
 * <p>A channel's current or speed set here holds until {@link #setLoad} gives that channel back
 * to the model, a temperature from then on; an encoder count set here is where the encoder counts
 * on from. The same
 * values show, and can be set, in WPILib's simulation GUI as the device "BrovaQuad[5]". On the
 * robot every getter reads 0 and every setter does nothing.
 *
 * <p>Every method may be called from any thread. Each throws {@link IllegalArgumentException}
 * for a channel outside 0..3 ("BrovaQuad channel 4 is outside 0..3") or a value that is NaN ("a
 * simulated value must be a number"), and {@link IllegalStateException} once the BrovaQuad is
 * closed ("BrovaQuad on device 5 is closed").
 */
public final class BrovaQuadSim {
  private static final String MODEL = "BrovaQuad";

  private final BrovaQuad quad;

  /**
   * The simulated device of {@code quad}.
   *
   * @throws NullPointerException for a null BrovaQuad
   * @throws IllegalStateException when it is closed
   */
  public BrovaQuadSim(BrovaQuad quad) {
    this.quad = Objects.requireNonNull(quad, "quad");
    SimulatedNatives.checkOpen(quad.isOpen(), quad);
  }

  /**
   * The duty channel {@code channel}'s output applies, -1..1: the speed set, while the controller
   * is enabled and the channel not disabled; else 0.
   *
   * @param channel the channel, 0..3
   */
  public double getAppliedOutput(int channel) {
    return value(channel, SimulatedNatives.OUTPUT);
  }

  /**
   * Whether the controller's outputs are enabled: the robot is enabled and its keep-alive frames
   * arrive.
   */
  public boolean isEnabled() {
    return SimulatedNatives.enabled(quad);
  }

  /**
   * The current channel {@code channel}'s motor draws, in amperes, as the controller measures and
   * reports it.
   *
   * @param channel the channel, 0..3
   */
  public double getCurrent(int channel) {
    return value(channel, SimulatedNatives.CURRENT);
  }

  /**
   * Channel {@code channel}'s motor speed in revolutions per minute, signed.
   *
   * @param channel the channel, 0..3
   */
  public double getRPM(int channel) {
    return value(channel, SimulatedNatives.RPM);
  }

  /**
   * Channel {@code channel}'s encoder count.
   *
   * @param channel the channel, 0..3
   */
  public int getEncoderCount(int channel) {
    return (int) value(channel, SimulatedNatives.ENCODER);
  }

  /** The controller's temperature in degrees Celsius. */
  public double getTemperature() {
    return SimulatedNatives.temperature(quad);
  }

  /**
   * The load on channel {@code channel}'s motor, 0 (free) .. 1 (stalled), clamped to that; gives
   * its current and speed back to the model.
   *
   * @param channel the channel, 0..3
   * @param fraction the fraction of the motor's torque the load takes
   */
  public void setLoad(int channel, double fraction) {
    setValue(channel, SimulatedNatives.LOAD, fraction);
  }

  /**
   * Holds channel {@code channel}'s current at {@code amperes}: what the controller reports, and
   * what heats it.
   *
   * @param channel the channel, 0..3
   */
  public void setCurrent(int channel, double amperes) {
    setValue(channel, SimulatedNatives.CURRENT, amperes);
  }

  /**
   * Holds channel {@code channel}'s motor speed at {@code rpm}, signed: what the controller
   * reports, and what the encoder counts at.
   *
   * @param channel the channel, 0..3
   */
  public void setRPM(int channel, double rpm) {
    setValue(channel, SimulatedNatives.RPM, rpm);
  }

  /**
   * Sets channel {@code channel}'s encoder count to {@code count}, from which it counts on.
   *
   * @param channel the channel, 0..3
   */
  public void setEncoderCount(int channel, int count) {
    setValue(channel, SimulatedNatives.ENCODER, count);
  }

  /** Holds the controller's temperature at {@code celsius}. */
  public void setTemperature(double celsius) {
    SimulatedNatives.setTemperature(quad, SimulatedNatives.checkNumber(celsius));
  }

  private double value(int channel, int quantity) {
    SimulatedNatives.checkChannel(MODEL, channel, BrovaQuad.CHANNELS);
    return SimulatedNatives.value(quad, channel, quantity);
  }

  private void setValue(int channel, int quantity, double value) {
    SimulatedNatives.checkNumber(value);
    SimulatedNatives.checkChannel(MODEL, channel, BrovaQuad.CHANNELS);
    SimulatedNatives.setValue(quad, channel, quantity, value);
  }
}
