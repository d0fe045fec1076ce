package com.quorvel.frc;

import com.quorvel.frc.jni.BrovaQuadJNI;
import com.quorvel.frc.sim.SimCan;
import com.quorvel.frc.sim.SimController;
import java.time.Duration;
import java.util.Arrays;
import java.util.function.DoubleSupplier;

/**
 * What the object API costs a robot loop, in nanoseconds per call: a cached getter while the
 * refresher runs, against a blocking query through the object and through the raw JNI entry
 * point; and a command through the object against the raw command. Prints {@code name_ns value}
 * lines, each the median of several rounds after a warm-up round.
 */
public final class ObjectApiBench {
  private static final int ROUNDS = 7;
  private static final int FAST_CALLS = 2_000_000;
  private static final int BLOCKING_CALLS = 20;
  private static final int DEVICE = 5;

  private static double sink;

  private ObjectApiBench() {}

  public static void main(String[] args) throws InterruptedException {
    SimCan.reset();
    SimCan.setRecording(false);
    // Commands first, with no simulated controller hearing them, as in JniCrossingBench.
    try (BrovaQuad quad = new BrovaQuad(DEVICE)) {
      print("objects_set", median(() -> perCall(FAST_CALLS, () -> quad.set(1, 0.5))));
    }
    final long raw = BrovaQuadJNI.c_BrovaQuad_create(DEVICE, 15000, false, 0);
    print("jni_setMotorSpeed", median(() -> perCall(FAST_CALLS,
        () -> BrovaQuadJNI.c_BrovaQuad_setMotorSpeed(raw, 1, 0.5))));
    BrovaQuadJNI.c_BrovaQuad_destroy(raw);

    // Queries, answered by a simulated controller.
    try (SimController sim = SimController.attach(SimController.Model.QUAD, DEVICE)) {
      try (BrovaQuad quad = new BrovaQuad(DEVICE)) {
        quad.startTelemetry(Duration.ofMillis(20));
        while (!quad.getCurrent(1).isPresent()) {
          Thread.sleep(5);
        }
        print("objects_getCurrent_cached", median(() -> perCall(FAST_CALLS, () -> {
          sink += quad.getCurrent(1).value();
        })));
        print("objects_getEncoderDistance_cached", median(() -> perCall(FAST_CALLS, () -> {
          sink += quad.getEncoderDistance(1).value();
        })));
        print("objects_getCurrentBlocking_with_refresher",
            median(() -> perCall(BLOCKING_CALLS, () -> {
              sink += quad.getCurrentBlocking(1);
            })));
        quad.stopTelemetry();
        print("objects_getCurrentBlocking", median(() -> perCall(BLOCKING_CALLS, () -> {
          sink += quad.getCurrentBlocking(1);
        })));
      }
      final long handle = BrovaQuadJNI.c_BrovaQuad_create(DEVICE, 15000, false, 0);
      try {
        print("jni_getCurrent", median(() -> perCall(BLOCKING_CALLS, () -> {
          sink += BrovaQuadJNI.c_BrovaQuad_getCurrent(handle, 1);
        })));
      } finally {
        BrovaQuadJNI.c_BrovaQuad_destroy(handle);
      }
      if (sim.enabled()) {
        System.out.println("(the simulated controller was enabled)");
      }
    }
    if (Double.isNaN(sink)) {
      System.out.println("(sink " + sink + ")");
    }
  }

  private static void print(String name, double nanos) {
    System.out.printf("%s_ns %.2f%n", name, nanos);
  }

  private static double perCall(int calls, Runnable call) {
    final long start = System.nanoTime();
    for (int i = 0; i < calls; ++i) {
      call.run();
    }
    return (System.nanoTime() - start) / (double) calls;
  }

  /** The median of several rounds, after the first (warm-up) round. */
  private static double median(DoubleSupplier round) {
    round.getAsDouble();
    final double[] results = new double[ROUNDS];
    for (int i = 0; i < ROUNDS; ++i) {
      results[i] = round.getAsDouble();
    }
    Arrays.sort(results);
    return results[ROUNDS / 2];
  }
}
