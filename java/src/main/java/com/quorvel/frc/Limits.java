package com.quorvel.frc;

/**
 * The ranges the objects' arguments must lie in: CAN device numbers, PWM frequencies and channel
 * numbers. Every check of the Java objects refers to these names.
 */
public final class Limits {
  /** The lowest CAN device number of a controller (0 is the broadcast address). */
  public static final int LOWEST_DEVICE_NUMBER = 1;

  /** The highest CAN device number of a controller: the six low bits of its identifiers. */
  public static final int HIGHEST_DEVICE_NUMBER = 63;

  /** The lowest CAN bus id (the 2026 HAL has this bus only). */
  public static final int LOWEST_BUS = 0;

  /** The highest CAN bus id: the 2027 robot controller's buses 0..4 and its expansion's 5..24. */
  public static final int HIGHEST_BUS = 24;

  /** The lowest PWM frequency of a motor, in hertz. */
  public static final int LOWEST_FREQUENCY_HZ = 0;

  /** The highest PWM frequency of a motor, in hertz. */
  public static final int HIGHEST_FREQUENCY_HZ = 20000;

  /** A BrovaQuad's motor channels, and its encoders: numbered 0..QUAD_CHANNELS-1. */
  public static final int QUAD_CHANNELS = 4;

  /** The Ferux board's analog inputs: numbered 0..ANALOG_INPUTS-1. */
  public static final int ANALOG_INPUTS = 4;

  private Limits() {}
}
