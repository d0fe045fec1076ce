package com.quorvel.frc;

import com.quorvel.frc.jni.BrovaDriverLibrary;
import java.nio.ByteBuffer;

/**
 * The natives of the analog board object, in libBrovaDriver.so: the same board device the C++
 * {@code brova::Ferux} opens. A board is the long that {@link #open} returns; every other call
 * takes it, and none may be made on it once {@link #close} has begun. A failure in the library
 * comes back as {@link IllegalArgumentException} or {@link IllegalStateException} (a board open
 * already).
 */
final class AnalogBoardNatives {
  static {
    BrovaDriverLibrary.load();
  }

  private AnalogBoardNatives() {}

  /** The byte offset of input {@code channel}'s count in the readings (ReadingBlock). */
  static native int readingOffset(int channel);

  /**
   * Opens the board with {@code fullScaleVolts} standing for 2048 counts and probes it, keeping
   * its readings in {@code readings}: a direct buffer of {@link DeviceNatives#readingBlockBytes()}
   * bytes at an 8-byte aligned address, which must stay reachable until {@link #close} returns.
   */
  static native long open(int fullScaleVolts, ByteBuffer readings);

  /** Closes the board, after which nothing writes to its readings, and frees it. */
  static native void close(long board);

  /** One conversion now, in counts; 0 when a transfer failed. */
  static native int getRaw(long board, int channel);

  /** One conversion now, in volts; 0 when a transfer failed. */
  static native double getVoltage(long board, int channel);

  /** Converts the four inputs on the telemetry thread, a round at most each {@code periodNanos}. */
  static native void startTelemetry(long board, long periodNanos);

  static native void stopTelemetry(long board);

  static native boolean telemetryRunning(long board);
}
