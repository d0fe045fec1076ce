package com.quorvel.frc;

/**
 * A CAN bus by its id, as the robot's HAL numbers them: on the 2027 robot controller its own buses
 * 0..4 and its expansion's 5..24. The 2026 HAL has bus 0 only, and an object on another bus is
 * refused there. Objects made without one are on bus 0.
 *
 * <pre>{@code
 * BrovaQuad arm = new BrovaQuad(5, new CanBus(2));
 * }</pre>
 */
public final class CanBus {
  private final int id;

  /**
   * The bus {@code id}.
   *
   * @throws IllegalArgumentException for an id outside {@value Limits#LOWEST_BUS}..{@value
   *     Limits#HIGHEST_BUS}
   */
  public CanBus(int id) {
    if (id < Limits.LOWEST_BUS || id > Limits.HIGHEST_BUS) {
      throw new IllegalArgumentException(
          "CAN bus " + id + " is outside " + Limits.LOWEST_BUS + ".." + Limits.HIGHEST_BUS);
    }
    this.id = id;
  }

  /** The bus's id. */
  public int getId() {
    return id;
  }

  @Override
  public boolean equals(Object other) {
    return other instanceof CanBus bus && bus.id == id;
  }

  @Override
  public int hashCode() {
    return id;
  }

  @Override
  public String toString() {
    return "CAN bus " + id;
  }
}
