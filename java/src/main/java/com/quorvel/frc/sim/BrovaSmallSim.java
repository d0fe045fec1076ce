package com.quorvel.frc.sim;

import com.quorvel.frc.BrovaSmall;
import java.util.Objects;

/**
 * A BrovaSmall's simulated device, for a team's own simulation code: as {@link BrovaQuadSim}, for
 * the one channel.
 *
 * <pre>{@code
 * BrovaSmall small = new BrovaSmall(7);
 * BrovaSmallSim smallSim = new BrovaSmallSim(small);
 * // each simulation step:
 * roller.setInputVoltage(smallSim.getAppliedOutput() * 12.0);
 * roller.update(0.02);
 * smallSim.setRPM(roller.getAngularVelocityRPM());
 * }</pre>
 *
 * <p>The device shows in WPILib's simulation GUI as "BrovaSmall[7]". The BrovaSmall reports no
 * speed or temperature over the bus; the model keeps them all the same. On the robot every getter
 * reads 0 and every setter does nothing.
 *
 * <p>Every method may be called from any thread. Each throws {@link IllegalArgumentException}
 * for a value that is NaN ("a simulated value must be a number"), and {@link
 * IllegalStateException} once the BrovaSmall is closed ("BrovaSmall on device 7 is closed").
 */
public final class BrovaSmallSim {
  private static final int CHANNEL = 0;

  private final BrovaSmall small;

  /**
   * The simulated device of {@code small}.
   *
   * @throws NullPointerException for a null BrovaSmall
   * @throws IllegalStateException when it is closed
   */
  public BrovaSmallSim(BrovaSmall small) {
    this.small = Objects.requireNonNull(small, "small");
    SimulatedNatives.checkOpen(small.isOpen(), small);
  }

  /**
   * The duty the output applies, -1..1: the speed set, while the controller is enabled and the
   * motor not disabled; else 0.
   */
  public double getAppliedOutput() {
    return SimulatedNatives.value(small, CHANNEL, SimulatedNatives.OUTPUT);
  }

  /**
   * Whether the controller's output is enabled: the robot is enabled and its keep-alive frames
   * arrive.
   */
  public boolean isEnabled() {
    return SimulatedNatives.enabled(small);
  }

  /** The current the motor draws, in amperes, as the controller measures and reports it. */
  public double getCurrent() {
    return SimulatedNatives.value(small, CHANNEL, SimulatedNatives.CURRENT);
  }

  /** The motor's speed in revolutions per minute, signed. */
  public double getRPM() {
    return SimulatedNatives.value(small, CHANNEL, SimulatedNatives.RPM);
  }

  /** The encoder count. */
  public int getEncoderCount() {
    return (int) SimulatedNatives.value(small, CHANNEL, SimulatedNatives.ENCODER);
  }

  /** The controller's temperature in degrees Celsius. */
  public double getTemperature() {
    return SimulatedNatives.temperature(small);
  }

  /**
   * The load on the motor, 0 (free) .. 1 (stalled), clamped to that; gives its current and speed
   * back to the model.
   */
  public void setLoad(double fraction) {
    setValue(SimulatedNatives.LOAD, fraction);
  }

  /** Holds the current at {@code amperes}: what the controller reports, and what heats it. */
  public void setCurrent(double amperes) {
    setValue(SimulatedNatives.CURRENT, amperes);
  }

  /** Holds the motor's speed at {@code rpm}, signed: what the encoder counts at. */
  public void setRPM(double rpm) {
    setValue(SimulatedNatives.RPM, rpm);
  }

  /** Sets the encoder count to {@code count}, from which it counts on. */
  public void setEncoderCount(int count) {
    setValue(SimulatedNatives.ENCODER, count);
  }

  /** Holds the controller's temperature at {@code celsius}. */
  public void setTemperature(double celsius) {
    SimulatedNatives.setTemperature(small, SimulatedNatives.checkNumber(celsius));
  }

  private void setValue(int quantity, double value) {
    SimulatedNatives.setValue(small, CHANNEL, quantity, SimulatedNatives.checkNumber(value));
  }
}
