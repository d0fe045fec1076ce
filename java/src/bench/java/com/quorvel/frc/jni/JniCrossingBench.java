package com.quorvel.frc.jni;

import com.quorvel.frc.sim.SimCan;

/**
 * The cost of crossing from Java into the library: a no-op entry point (getFaults) and a command
 * (setMotorSpeed), in nanoseconds per call. Compare with the same calls made from C in
 * bench/brova_bench (BM_QuadGetFaults, BM_QuadSetMotorSpeed).
 */
public final class JniCrossingBench {
  private static final int ROUNDS = 7;
  private static final int CALLS = 5_000_000;

  private JniCrossingBench() {}

  public static void main(String[] args) {
    SimCan.reset();
    SimCan.setRecording(false);
    final long quad = BrovaQuadJNI.c_BrovaQuad_create(5, 1000, false, 0);
    System.out.printf("jni_getFaults_ns %.2f%n", median(() -> noOp(quad)));
    System.out.printf("jni_setMotorSpeed_ns %.2f%n", median(() -> command(quad)));
    BrovaQuadJNI.c_BrovaQuad_destroy(quad);
  }

  private static long sink;

  private static double noOp(long quad) {
    final long start = System.nanoTime();
    for (int i = 0; i < CALLS; ++i) {
      sink += BrovaQuadJNI.c_BrovaQuad_getFaults(quad, 1);
    }
    return (System.nanoTime() - start) / (double) CALLS;
  }

  private static double command(long quad) {
    final long start = System.nanoTime();
    for (int i = 0; i < CALLS; ++i) {
      BrovaQuadJNI.c_BrovaQuad_setMotorSpeed(quad, 1, 0.5);
    }
    return (System.nanoTime() - start) / (double) CALLS;
  }

  /** The median of several rounds, after the first (warm-up) round. */
  private static double median(java.util.function.DoubleSupplier round) {
    round.getAsDouble();
    final double[] results = new double[ROUNDS];
    for (int i = 0; i < ROUNDS; ++i) {
      results[i] = round.getAsDouble();
    }
    java.util.Arrays.sort(results);
    return results[ROUNDS / 2];
  }
}
