package com.quorvel.frc;

/**
 * What a controller's telemetry can read ({@link BrovaQuad#startTelemetry(java.time.Duration,
 * java.util.Set)}). Each quantity of a channel costs two frames on the bus per round, a request
 * and its reply.
 */
public enum Quantity {
  /** The motor current, per channel. */
  CURRENT,
  /** The motor speed, per channel; a BrovaQuad's only. */
  RPM,
  /** The encoder count, per channel, which the encoder distance is made from. */
  ENCODER,
  /** The controller's temperature, one per controller; a BrovaQuad's only. */
  TEMPERATURE
}
