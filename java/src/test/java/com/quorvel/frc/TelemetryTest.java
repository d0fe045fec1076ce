package com.quorvel.frc;

import static org.junit.jupiter.api.Assertions.assertEquals;
import static org.junit.jupiter.api.Assertions.assertFalse;
import static org.junit.jupiter.api.Assertions.assertTrue;

import com.quorvel.frc.sim.SentFrame;
import com.quorvel.frc.sim.SimAnalogBoard;
import com.quorvel.frc.sim.SimCan;
import com.quorvel.frc.sim.SimController;
import java.time.Duration;
import java.util.ArrayList;
import java.util.Arrays;
import java.util.List;
import org.junit.jupiter.api.AfterEach;
import org.junit.jupiter.api.BeforeEach;
import org.junit.jupiter.api.Test;

/** The background refreshers and the cached getters. */
class TelemetryTest {
  private static final Duration PATIENCE = Duration.ofSeconds(5);
  private static final String QUAD_THREAD = "BrovaQuad-5-telemetry";

  @BeforeEach
  void startFromAnEmptyBus() {
    SimCan.reset();
  }

  /** Simulated controllers attached by {@link #answer}, detached after each test. */
  private final List<SimController> answering = new ArrayList<>();

  @AfterEach
  void detachTheSimulatedControllers() {
    answering.forEach(SimController::close);
  }

  /** A simulated controller on {@code device}, answering every query of every round. */
  private void answer(SimController.Model model, int device) {
    answering.add(SimController.attach(model, device));
  }

  /** Current requests for motor 0 sent so far: one per refresher round. */
  private static long roundsStarted(int device) {
    return Arrays.stream(SimCan.sentFrames(TestBus.MOTOR_CURRENT_REQUEST + device))
        .filter(frame -> frame.unsignedByte(0) == 0)
        .count();
  }

  @Test
  void cachedTelemetryFollowsASimulatedMotor() throws InterruptedException {
    try (SimController sim = SimController.attach(SimController.Model.QUAD, 5);
        BrovaQuad quad = new BrovaQuad(5)) {
      assertFalse(quad.getRPM(2).isPresent());
      assertTrue(Double.isNaN(quad.getTemperature().value()));
      SimCan.setSystemActive(true);
      quad.getEncoder(2).setDistancePerTick(1.0 / 2048);
      quad.startTelemetry(Duration.ofMillis(20));
      final long commanded = System.nanoTime();
      quad.set(2, 0.5);
      TestBus.waitUntil(() -> quad.getRPM(2).value() > 2000, PATIENCE, "the cached rpm to rise");
      final Reading rpm = quad.getRPM(2);
      assertTrue(rpm.timeNanos() - commanded > 0, "read after the command");
      assertTrue(rpm.age().compareTo(Duration.ofSeconds(1)) < 0, "age " + rpm.age());
      assertTrue(rpm.value() <= 2500, "rpm " + rpm.value());
      assertTrue(quad.getCurrent(2).value() > 0, "current " + quad.getCurrent(2));
      assertTrue(quad.getEncoderDistance(2).value() > 0, "revolutions " + quad.getEncoderDistance(2));
      assertEquals(0.0, quad.getRPM(0).value(), "motor 0 was not driven");
      final double celsius = quad.getTemperature().value();
      assertTrue(celsius >= 20 && celsius < 40, "temperature " + celsius);
      assertTrue(sim.enabled());
    }
    assertEquals(0, TestBus.threadsNamed(QUAD_THREAD));
  }

  @Test
  void cachedGettersNeverWaitForTheBus() throws InterruptedException {
    // The replies to one round: the current and the encoder count, each taken by its query.
    SimCan.putFrame(TestBus.MOTOR_CURRENT_REPLY + 7, TestBus.bytes(52, 0));
    SimCan.putFrame(TestBus.ENCODER_COUNT_REPLY + 7, TestBus.bytes(0x10, 0x27, 0, 0));
    try (BrovaSmall small = new BrovaSmall(7)) {
      small.getEncoder().setDistancePerTick(0.5);
      small.startTelemetry(Duration.ofHours(1));
      TestBus.waitUntil(
          () -> small.getEncoderDistance().isPresent(), PATIENCE, "the first round to end");
      assertEquals(52.0, small.getCurrent().value());
      assertEquals(5000.0, small.getEncoderDistance().value());
      // Rounds back to back from now on. The refresher holds the bus for 100 ms per query; a
      // getter that waited for it would manage a handful of calls in this time.
      small.startTelemetry(Duration.ZERO);
      final long end = System.nanoTime() + Duration.ofMillis(250).toNanos();
      long calls = 0;
      while (System.nanoTime() - end < 0) {
        small.getCurrent();
        small.getEncoderDistance();
        ++calls;
      }
      assertTrue(calls > 1000, calls + " calls");
    }
    assertEquals(0, TestBus.threadsNamed("BrovaSmall-7-telemetry"));
  }

  @Test
  void closeEndsEveryRefresherThread() {
    final String[] threads = {QUAD_THREAD, "BrovaSmall-7-telemetry", "Ferux-telemetry"};
    answer(SimController.Model.QUAD, 5);
    answer(SimController.Model.SMALL, 7);
    try (SimAnalogBoard board = SimAnalogBoard.attach()) {
      board.setInput(0, 1.0);
      final BrovaQuad quad = new BrovaQuad(5);
      final BrovaSmall small = new BrovaSmall(7);
      final Ferux ferux = new Ferux(5.0);
      quad.startTelemetry(Duration.ofMillis(10));
      small.startTelemetry(Duration.ofMillis(10));
      ferux.startTelemetry(Duration.ofMillis(10));
      for (String thread : threads) {
        assertEquals(1, TestBus.threadsNamed(thread), thread);
      }
      quad.close();
      small.close();
      ferux.close();
      for (String thread : threads) {
        assertEquals(0, TestBus.threadsNamed(thread), thread);
      }
    }
  }

  @Test
  void stopTelemetryKeepsTheLastReadingsAndSendsNoMoreRequests() throws InterruptedException {
    answer(SimController.Model.QUAD, 5);
    try (BrovaQuad quad = new BrovaQuad(5)) {
      quad.startTelemetry(Duration.ZERO);
      assertTrue(quad.isTelemetryRunning());
      TestBus.waitUntil(() -> quad.getTemperature().isPresent(), PATIENCE, "a whole round");
      quad.stopTelemetry();
      assertFalse(quad.isTelemetryRunning());
      assertEquals(0, TestBus.threadsNamed(QUAD_THREAD));
      final Reading last = quad.getCurrent(3);
      assertTrue(last.isPresent());
      SimCan.clearSentFrames();
      Thread.sleep(60);
      assertEquals(last, quad.getCurrent(3));
      assertEquals(0, TestBus.commandFrames().size());
      assertTrue(last.age().toMillis() >= 60, "age " + last.age());
    }
  }

  @Test
  void startingAgainChangesThePeriodOfTheOneThread() throws InterruptedException {
    answer(SimController.Model.QUAD, 5);
    try (BrovaQuad quad = new BrovaQuad(5)) {
      quad.startTelemetry(Duration.ofHours(1));
      TestBus.waitUntil(() -> quad.getTemperature().isPresent(), PATIENCE, "the first round");
      final long firstRound = quad.getCurrent(0).timeNanos();
      quad.startTelemetry(Duration.ZERO);
      assertEquals(1, TestBus.threadsNamed(QUAD_THREAD));
      TestBus.waitUntil(
          () -> quad.getCurrent(0).timeNanos() != firstRound, PATIENCE, "a second round");
      assertEquals(1, TestBus.threadsNamed(QUAD_THREAD));
    }
  }

  @Test
  void aRoundStartsAtMostOncePerPeriod() throws InterruptedException {
    final long period = 300;
    answer(SimController.Model.QUAD, 5);
    try (BrovaQuad quad = new BrovaQuad(5)) {
      final long start = System.nanoTime();
      quad.startTelemetry(Duration.ofMillis(period));
      Thread.sleep(3 * period);
      quad.stopTelemetry();
      final long elapsedMs = (System.nanoTime() - start) / 1_000_000;
      // Back to back, the 13 queries of a round (130 ms) would start about 7 rounds here.
      final long rounds = roundsStarted(5);
      assertTrue(rounds >= 2 && rounds <= elapsedMs / period + 1,
          rounds + " rounds in " + elapsedMs + " ms");
    }
  }

  @Test
  void aResetEncoderReadsZeroAtOnceAndTheRefresherCarriesOn() throws InterruptedException {
    answer(SimController.Model.QUAD, 5);
    try (BrovaQuad quad = new BrovaQuad(5)) {
      SimCan.setSystemActive(true);
      quad.set(1, 0.5);
      quad.startTelemetry(Duration.ZERO);
      TestBus.waitUntil(
          () -> quad.getEncoderDistance(1).value() > 0, PATIENCE, "the encoder to count");
      final long beforeReset = System.nanoTime();
      quad.resetEncoder(1);
      final Reading reset = quad.getEncoder(1).getDistance();
      assertEquals(0.0, reset.value());
      assertTrue(reset.timeNanos() - beforeReset >= 0);
      final SentFrame[] resets = SimCan.sentFrames(TestBus.RESET_ENCODER + 5);
      assertEquals(1, resets.length);
      assertEquals(1, resets[0].unsignedByte(0));
      // The motor turns on: the next read brings a count again.
      TestBus.waitUntil(
          () -> quad.getEncoderDistance(1).value() > 0, PATIENCE, "the next encoder read");
      assertTrue(quad.getEncoderDistance(1).timeNanos() - reset.timeNanos() > 0);
      quad.stopTelemetry();
      final double ticks = quad.getEncoderDistance(1).value();
      quad.getEncoder(1).setDistancePerTick(0.25);
      assertEquals(
          ticks * 0.25, quad.getEncoderDistance(1).value(), "the distance per tick applies");
    }
  }

  @Test
  void theBoardRefresherFollowsTheInputs() throws InterruptedException {
    try (SimAnalogBoard board = SimAnalogBoard.attach();
        Ferux ferux = new Ferux(5.0)) {
      board.setInput(2, 1.024);
      assertFalse(ferux.getCachedVoltage(2).isPresent());
      ferux.startTelemetry(Duration.ofMillis(5));
      TestBus.waitUntil(
          () -> ferux.getCachedRaw(2).value() == 1024, PATIENCE, "the cached count");
      assertEquals(ferux.getVoltage(2), ferux.getCachedVoltage(2).value());
      assertEquals(2.5, ferux.getCachedVoltage(2).value());
      board.setInput(2, 0.3);
      TestBus.waitUntil(
          () -> ferux.getCachedRaw(2).value() == 300, PATIENCE, "the cached count to follow");
      assertEquals(ferux.getVoltage(2), ferux.getCachedVoltage(2).value());
      assertTrue(ferux.getCachedRaw(2).age().compareTo(Duration.ofSeconds(1)) < 0);
    }
    assertEquals(0, TestBus.threadsNamed("Ferux-telemetry"));
  }
}
