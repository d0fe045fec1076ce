package com.quorvel.frc;

import java.lang.invoke.MethodHandles;
import java.lang.invoke.VarHandle;
import java.nio.ByteBuffer;
import java.nio.ByteOrder;

/**
 * The cached readings of one open device (a controller, the analog board), in memory this object
 * owns and the library's telemetry writes: a direct buffer of 64-bit words in the native order,
 * laid out as the library says ({@link DeviceNatives}). Each reading is a sequence lock (sequence, value bits, time,
 * state): the writer makes the sequence odd, writes, and makes it even again; a reader retries
 * until it reads the same even sequence before and after the words. Reads never block and take
 * no lock.
 *
 * <p>A reading stored fresh reads as {@link Reading.State#STALE} once the telemetry stopped or
 * once it is older than the block's fresh span (three telemetry rounds); the controller is
 * connected while its last answer is younger than a second (or that span, when longer) and
 * fewer than three requests in a row went unanswered since. The library's C++ objects read the
 * same words by the same rules.
 */
final class ReadingBlock {
  private static final VarHandle WORDS =
      MethodHandles.byteBufferViewVarHandle(long[].class, ByteOrder.nativeOrder());
  private static final int BYTES = DeviceNatives.readingBlockBytes();
  private static final int SEQUENCE = DeviceNatives.sequenceOffset();
  private static final int VALUE = DeviceNatives.valueOffset();
  private static final int TIME = DeviceNatives.timeOffset();
  private static final int STATE = DeviceNatives.stateOffset();
  private static final int CONNECTED = DeviceNatives.connectedOffset();
  private static final int FRESH_FOR = DeviceNatives.freshForOffset();
  private static final long CONNECTED_FOR = DeviceNatives.connectedForNanos();
  private static final Reading.State[] STATES = statesByCode();

  private final ByteBuffer words =
      ByteBuffer.allocateDirect(BYTES + Long.BYTES - 1)
          .alignedSlice(Long.BYTES)
          .order(ByteOrder.nativeOrder());

  /** The offsets of {@code quantity}'s readings of channels 0..{@code channels}-1. */
  static int[] offsets(Quantity quantity, int channels) {
    final int[] offsets = new int[channels];
    for (int channel = 0; channel < channels; ++channel) {
      offsets[channel] = DeviceNatives.readingOffset(quantity.ordinal(), channel);
    }
    return offsets;
  }

  private static Reading.State[] statesByCode() {
    final Reading.State[] states = new Reading.State[Reading.State.values().length];
    for (Reading.State state : Reading.State.values()) {
      states[(int) DeviceNatives.stateCode(state.ordinal())] = state;
    }
    return states;
  }

  /** The buffer the library writes the readings to. */
  ByteBuffer buffer() {
    return words;
  }

  /** The reading at {@code offset} (from {@link #offsets}). */
  Reading read(int offset) {
    while (true) {
      final long before = (long) WORDS.getAcquire(words, offset + SEQUENCE);
      final long bits = (long) WORDS.get(words, offset + VALUE);
      final long time = (long) WORDS.get(words, offset + TIME);
      final long state = (long) WORDS.get(words, offset + STATE);
      VarHandle.loadLoadFence();
      final long after = (long) WORDS.getOpaque(words, offset + SEQUENCE);
      if ((before & 1) == 0 && before == after) {
        Reading.State seen = STATES[(int) state];
        if (seen == Reading.State.FRESH) {
          final long freshFor = (long) WORDS.getAcquire(words, FRESH_FOR);
          if (freshFor == 0 || System.nanoTime() - time > freshFor) {
            seen = Reading.State.STALE;
          }
        }
        return new Reading(Double.longBitsToDouble(bits), time, seen);
      }
      Thread.onSpinWait();
    }
  }

  /** Whether the controller answered lately (its telemetry or a blocking query). */
  boolean connected() {
    final long heard = (long) WORDS.getAcquire(words, CONNECTED);
    if (heard == 0) {
      return false;
    }
    final long freshFor = (long) WORDS.getAcquire(words, FRESH_FOR);
    return System.nanoTime() - heard <= Math.max(CONNECTED_FOR, freshFor);
  }
}
