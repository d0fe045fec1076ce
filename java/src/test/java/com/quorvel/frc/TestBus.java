package com.quorvel.frc;

import static org.junit.jupiter.api.Assertions.fail;

import com.quorvel.frc.sim.SentFrame;
import com.quorvel.frc.sim.SimCan;
import java.io.IOException;
import java.nio.file.Files;
import java.nio.file.Path;
import java.time.Duration;
import java.util.Arrays;
import java.util.HexFormat;
import java.util.List;
import java.util.function.BooleanSupplier;
import java.util.stream.Stream;

/** What the object API tests share: reading the simulated bus, waiting, counting threads. */
final class TestBus {
  static final int CONFIGURE_MOTOR = 0x020C0280;
  static final int MOTOR_CURRENT_REQUEST = 0x020C03C0;
  static final int MOTOR_CURRENT_REPLY = 0x020C0400;
  static final int ENCODER_COUNT_REPLY = 0x020C0480;
  static final int RESET_ENCODER = 0x020C04C0;
  static final int TEMPERATURE_REPLY = 0x020C0600;
  static final int RPM_REPLY = 0x020C0680;
  private static final int KEEP_ALIVE = 0x020C0500;

  private TestBus() {}

  /** The frames sent so far but keep-alive frames, which come on their own schedule. */
  static List<SentFrame> commandFrames() {
    return Arrays.stream(SimCan.sentFrames())
        .filter(frame -> (frame.id() & ~0x7F) != KEEP_ALIVE)
        .toList();
  }

  /** The frames sent so far but keep-alive frames, as "IDENTIFIER bytes" lines. */
  static List<String> describedCommandFrames() {
    return commandFrames().stream().map(TestBus::describe).toList();
  }

  static String describe(SentFrame frame) {
    final String onBus = frame.bus() == 0 ? "" : frame.bus() + "/";
    return String.format("%s%08X %s", onBus, frame.id(), HexFormat.of().formatHex(frame.data()));
  }

  static byte[] bytes(int... values) {
    final byte[] result = new byte[values.length];
    for (int i = 0; i < values.length; ++i) {
      result[i] = (byte) values[i];
    }
    return result;
  }

  /** Polls {@code condition} until it holds, failing after {@code timeout}. */
  static void waitUntil(BooleanSupplier condition, Duration timeout, String what)
      throws InterruptedException {
    final long deadline = System.nanoTime() + timeout.toNanos();
    while (!condition.getAsBoolean()) {
      if (System.nanoTime() - deadline > 0) {
        fail("waited " + timeout.toMillis() + " ms for " + what);
      }
      Thread.sleep(5);
    }
  }

  /**
   * The threads of this process called {@code name}, the library's native ones included, as
   * /proc lists them (a native thread's name is at most 15 characters).
   */
  static long processThreadsNamed(String name) throws IOException {
    try (Stream<Path> tasks = Files.list(Path.of("/proc/self/task"))) {
      return tasks
          .filter(
              task -> {
                try {
                  return Files.readString(task.resolve("comm")).strip().equals(name);
                } catch (IOException e) {
                  return false;  // the thread ended meanwhile
                }
              })
          .count();
    }
  }

  /** The live Java threads called {@code name}. */
  static long threadsNamed(String name) {
    return Thread.getAllStackTraces().keySet().stream()
        .filter(thread -> thread.getName().equals(name) && thread.isAlive())
        .count();
  }
}
