package com.quorvel.frc.sim;

/**
 * A frame that went through the platform's send function.
 *
 * @param timeNanos steady-clock time of the send, in nanoseconds
 * @param id the 29-bit identifier
 * @param data the bytes sent (as many as {@code size}, at most 8)
 * @param size the size the sender gave
 * @param periodMs the repeat period the sender gave (0: once)
 * @param bus the simulated bus it was sent on (always 0 with the 2026 HAL, whose sends name none)
 */
public record SentFrame(long timeNanos, int id, byte[] data, int size, int periodMs, int bus) {
  /** Byte {@code index} of the data as an unsigned value. */
  public int unsignedByte(int index) {
    return data[index] & 0xFF;
  }
}
