package com.quorvel.frc.sim;

import com.quorvel.frc.Ferux;
import java.util.Objects;

/**
 * The Ferux board's simulated device, for a team's own simulation code: sets the voltage at each
 * of its four inputs, which the next conversion reads.
 *
 * <pre>{@code
 * Ferux ferux = new Ferux();
 * FeruxSim feruxSim = new FeruxSim(ferux);
 * // each simulation step:
 * feruxSim.setVoltage(0, pressureSensorVolts(tank.getPressure()));
 * }</pre>
 *
 * <p>It shows in WPILib's simulation GUI as "Ferux[1]" (its I2C port). On the robot the getter
 * reads 0 and the setter does nothing.
 *
 * <p>Every method may be called from any thread. Each throws {@link IllegalArgumentException}
 * for an input outside 0..3 ("analog channel 4 is outside 0..3") or a voltage that is NaN ("a
 * simulated value must be a number"), and {@link IllegalStateException} once the board is closed
 * ("Ferux analog board is closed").
 */
public final class FeruxSim {
  private final Ferux board;

  /**
   * The simulated device of {@code board}.
   *
   * @throws NullPointerException for a null board
   * @throws IllegalStateException when it is closed
   */
  public FeruxSim(Ferux board) {
    this.board = Objects.requireNonNull(board, "board");
    SimulatedNatives.checkOpen(board.isOpen(), board);
  }

  /**
   * Sets input {@code input}'s voltage against ground, which the next conversion reads.
   *
   * @param input the input, 0..3
   * @param volts the voltage
   */
  public void setVoltage(int input, double volts) {
    SimulatedNatives.checkNumber(volts);
    SimulatedNatives.checkInput(input);
    SimulatedNatives.setVoltage(board, input, volts);
  }

  /**
   * Input {@code input}'s voltage on the simulated device: what the next conversion reads.
   *
   * @param input the input, 0..3
   */
  public double getVoltage(int input) {
    SimulatedNatives.checkInput(input);
    return SimulatedNatives.voltage(board, input);
  }
}
