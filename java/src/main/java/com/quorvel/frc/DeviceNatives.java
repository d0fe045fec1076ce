package com.quorvel.frc;

import com.quorvel.frc.jni.BrovaDriverLibrary;
import java.nio.ByteBuffer;

/**
 * The natives of the controller objects, in libBrovaDriver.so. A device is the long that
 * {@link #open} returns; every other call takes it, and none may be made on it once {@link
 * #close} has begun. A failure in the library comes back as the Java exception of its kind:
 * {@link IllegalArgumentException}, {@link IllegalStateException} (a device number in use, the
 * platform refusing), or another {@link RuntimeException}.
 */
final class DeviceNatives {
  static {
    BrovaDriverLibrary.load();
  }

  /** The kinds {@link #open} takes. */
  static final int QUAD = 0;

  static final int SMALL = 1;

  private DeviceNatives() {}

  // ---- Where the readings lie in the buffer a device is opened with (ReadingBlock) ----

  static native int readingBlockBytes();

  /** The byte offset of the reading of {@code quantity} (a {@link Quantity} ordinal). */
  static native int readingOffset(int quantity, int channel);

  /** The offsets of a reading's words from its start. */
  static native int sequenceOffset();

  static native int valueOffset();

  static native int timeOffset();

  static native int stateOffset();

  static native int connectedOffset();

  /** The word of how long a reading stays fresh, in nanoseconds; 0 while no telemetry runs. */
  static native int freshForOffset();

  /** How long after its last answer a device counts as connected at least, in nanoseconds. */
  static native long connectedForNanos();

  /** How a {@link Reading.State} (its ordinal) is stored. */
  static native long stateCode(int state);

  // ---- Opening and closing ----

  /**
   * Opens controller {@code deviceNumber} (checked by the caller) of {@code kind} at {@code
   * frequency} hertz, keeping its readings in {@code readings}: a direct buffer of {@link
   * #readingBlockBytes()} bytes at an 8-byte aligned address, which must stay reachable until
   * {@link #close} returns.
   */
  static native long open(int kind, int deviceNumber, int bus, int frequency, ByteBuffer readings);

  /** Closes the device, after which nothing writes to its readings, and frees it. */
  static native void close(long device);

  // ---- Commands: one frame each ----

  static native void setMotorSpeed(long device, int motor, double speed);

  static native void disableMotor(long device, int motor);

  static native void configureMotor(long device, int motor, int frequency);

  /** Zeroes the encoder's count on the controller and its reading at once. */
  static native void resetEncoder(long device, int encoder);

  // ---- Blocking queries: each waits for the controller's reply pause ----

  static native double getCurrent(long device, int motor);

  static native double getRpm(long device, int motor);

  static native double getTemperature(long device);

  static native double getEncoderDistance(long device, int encoder, double distancePerTick);

  static native String getFirmwareVersion(long device);

  static native String getHardwareVersion(long device);

  static native String getSerialNumber(long device);

  // ---- Telemetry ----

  /**
   * Reads the chosen quantities ({@code quantities} holds bit i for {@link Quantity} ordinal i)
   * of the chosen channels (bit c for channel c), a round at most every {@code periodNanos}.
   */
  static native void startTelemetry(long device, long periodNanos, int quantities, int channels);

  static native void stopTelemetry(long device);

  static native boolean telemetryRunning(long device);
}
