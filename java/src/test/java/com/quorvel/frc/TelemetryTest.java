package com.quorvel.frc;

import static org.junit.jupiter.api.Assertions.assertEquals;
import static org.junit.jupiter.api.Assertions.assertFalse;
import static org.junit.jupiter.api.Assertions.assertTrue;

import com.quorvel.frc.sim.SentFrame;
import com.quorvel.frc.sim.SimAnalogBoard;
import com.quorvel.frc.sim.SimCan;
import com.quorvel.frc.sim.SimController;
import java.io.IOException;
import java.time.Duration;
import java.util.ArrayList;
import java.util.Arrays;
import java.util.EnumSet;
import java.util.List;
import java.util.Set;
import org.junit.jupiter.api.AfterEach;
import org.junit.jupiter.api.BeforeEach;
import org.junit.jupiter.api.Test;

/** The library's telemetry, of the controllers and the board, and the cached getters. */
class TelemetryTest {
  private static final Duration PATIENCE = Duration.ofSeconds(5);

  @BeforeEach
  void startFromAnEmptyBus() {
    SimCan.reset();
    SimCan.setRecording(true);
  }

  /** Simulated controllers attached by {@link #answer}, detached after each test. */
  private final List<SimController> answering = new ArrayList<>();

  @AfterEach
  void detachTheSimulatedControllers() {
    answering.forEach(SimController::close);
  }

  /** A simulated controller on {@code device}, answering every request. */
  private SimController answer(SimController.Model model, int device) {
    final SimController sim = SimController.attach(model, device);
    answering.add(sim);
    return sim;
  }

  /** Current requests for motor {@code motor} of {@code device} sent so far. */
  private static long currentRequests(int device, int motor) {
    return Arrays.stream(SimCan.sentFrames(TestBus.MOTOR_CURRENT_REQUEST + device))
        .filter(frame -> frame.unsignedByte(0) == motor)
        .count();
  }

  @Test
  void cachedTelemetryFollowsASimulatedMotor() throws InterruptedException {
    final SimController sim = answer(SimController.Model.QUAD, 5);
    try (BrovaQuad quad = new BrovaQuad(5)) {
      assertFalse(quad.getRPM(2).isPresent());
      assertEquals(Reading.State.NOT_READ, quad.getTemperature().state());
      assertFalse(quad.isConnected());
      SimCan.setSystemActive(true);
      quad.getEncoder(2).setDistancePerTick(1.0 / 2048);
      quad.startTelemetry(Duration.ofMillis(20));
      final long commanded = System.nanoTime();
      quad.set(2, 0.5);
      TestBus.waitUntil(() -> quad.getRPM(2).value() > 2000, PATIENCE, "the cached rpm to rise");
      final Reading rpm = quad.getRPM(2);
      assertTrue(rpm.isFresh(), rpm.toString());
      assertTrue(rpm.timeNanos() - commanded > 0, "read after the command");
      final Duration age = rpm.age();
      final long sinceCommand = System.nanoTime() - commanded;
      assertTrue(age.toNanos() <= sinceCommand, "age " + age + ", read after the command");
      assertTrue(rpm.value() <= 2500, "rpm " + rpm.value());
      assertTrue(quad.getCurrent(2).value() > 0, "current " + quad.getCurrent(2));
      assertTrue(quad.getEncoderDistance(2).value() > 0, "revolutions " + quad.getEncoderDistance(2));
      assertEquals(0.0, quad.getRPM(0).value(), "motor 0 was not driven");
      final double celsius = quad.getTemperature().value();
      assertTrue(celsius >= 20 && celsius < 40, "temperature " + celsius);
      assertTrue(quad.isConnected());
      assertTrue(sim.enabled());
    }
  }

  @Test
  void onlyTheChosenQuantitiesOfTheChosenChannelsAreRead() throws InterruptedException {
    answer(SimController.Model.QUAD, 5);
    try (BrovaQuad quad = new BrovaQuad(5)) {
      quad.startTelemetry(Duration.ofMillis(10), EnumSet.of(Quantity.CURRENT), Set.of(1, 3));
      TestBus.waitUntil(
          () -> quad.getCurrent(1).isFresh() && quad.getCurrent(3).isFresh(),
          PATIENCE,
          "the chosen currents");
      Thread.sleep(100); // rounds enough to have read anything else too
      quad.stopTelemetry();
      for (Reading other :
          List.of(
              quad.getCurrent(0), quad.getCurrent(2), quad.getRPM(1), quad.getEncoderDistance(3),
              quad.getTemperature())) {
        assertEquals(Reading.absent(), other);
      }
      assertEquals(0, currentRequests(5, 0));
    }
  }

  @Test
  void cachedGettersNeverWaitForTheBus() throws InterruptedException {
    answer(SimController.Model.SMALL, 7);
    try (BrovaSmall small = new BrovaSmall(7)) {
      small.getEncoder().setDistancePerTick(0.5);
      small.startTelemetry(Duration.ofNanos(1));
      TestBus.waitUntil(
          () -> small.getEncoderDistance().isFresh(), PATIENCE, "the first encoder read");
      // Rounds back to back: a BrovaSmall request waits up to 100 ms for its reply. A getter
      // that waited for the bus would manage a handful of calls in this time.
      final long end = System.nanoTime() + Duration.ofMillis(250).toNanos();
      long calls = 0;
      while (System.nanoTime() - end < 0) {
        small.getCurrent();
        small.getEncoderDistance();
        ++calls;
      }
      // A getter that waited for a reply pause would make three calls at most here.
      assertTrue(calls > 50, calls + " calls");
    }
  }

  @Test
  void stopTelemetryKeepsTheLastReadingsStaleAndSendsNoMoreRequests() throws InterruptedException {
    answer(SimController.Model.QUAD, 5);
    try (BrovaQuad quad = new BrovaQuad(5)) {
      quad.startTelemetry(Duration.ofNanos(1));
      assertTrue(quad.isTelemetryRunning());
      TestBus.waitUntil(
          () -> quad.getCurrent(3).isPresent() && quad.getTemperature().isPresent(),
          PATIENCE,
          "motor 3's current and the temperature");
      quad.stopTelemetry();
      assertFalse(quad.isTelemetryRunning());
      final Reading last = quad.getCurrent(3);
      assertEquals(Reading.State.STALE, last.state(), last.toString());
      assertTrue(last.isPresent(), last.toString());
      SimCan.clearSentFrames();
      Thread.sleep(60);
      assertEquals(last, quad.getCurrent(3));
      assertEquals(0, TestBus.commandFrames().size());
      assertTrue(last.age().toMillis() >= 60, "age " + last.age());
    }
  }

  @Test
  void startingAgainChangesThePeriod() throws InterruptedException {
    answer(SimController.Model.QUAD, 5);
    try (BrovaQuad quad = new BrovaQuad(5)) {
      quad.startTelemetry(Duration.ofHours(1));
      // Answered or not (a loaded machine may miss a reply), the first round has been.
      TestBus.waitUntil(
          () -> quad.getCurrent(0).state() != Reading.State.NOT_READ, PATIENCE, "the first round");
      final long firstRound = quad.getCurrent(0).timeNanos();
      quad.startTelemetry(Duration.ofNanos(1));
      TestBus.waitUntil(
          () -> quad.getCurrent(0).timeNanos() != firstRound, PATIENCE, "a second round");
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
      // Back to back, rounds of a few milliseconds would start hundreds of rounds here.
      final long rounds = currentRequests(5, 0);
      assertTrue(rounds >= 2 && rounds <= elapsedMs / period + 1,
          rounds + " rounds in " + elapsedMs + " ms");
    }
  }

  @Test
  void aResetEncoderReadsZeroAtOnceAndTheTelemetryCarriesOn() throws InterruptedException {
    answer(SimController.Model.QUAD, 5);
    try (BrovaQuad quad = new BrovaQuad(5)) {
      SimCan.setSystemActive(true);
      quad.set(1, 0.5);
      quad.startTelemetry(Duration.ofNanos(1));
      TestBus.waitUntil(
          () -> quad.getEncoderDistance(1).value() > 0, PATIENCE, "the encoder to count");
      final long beforeReset = System.nanoTime();
      quad.resetEncoder(1);
      final Reading reset = quad.getEncoder(1).getDistance();
      assertEquals(0.0, reset.value());
      assertTrue(reset.isFresh());
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
  void theBoardIsReadOnTheSharedTelemetryThreadAndFollowsTheInputs()
      throws InterruptedException, IOException {
    try (SimAnalogBoard board = SimAnalogBoard.attach();
        BrovaQuad quad = new BrovaQuad(5);
        Ferux ferux = new Ferux(5)) {
      board.setInput(2, 1.024);
      assertFalse(ferux.getVoltage(2).isPresent());
      quad.startTelemetry(Duration.ofMillis(10));
      ferux.startTelemetry(Duration.ofMillis(5));
      assertEquals(1, TestBus.processThreadsNamed("brova-telemetry"));
      assertEquals(0, TestBus.processThreadsNamed("Ferux-telemetry"), "no thread of its own");
      TestBus.waitUntil(() -> ferux.getRaw(2).value() == 1024, PATIENCE, "the cached count");
      assertEquals(ferux.getVoltageBlocking(2), ferux.getVoltage(2).value());
      assertEquals(2.5, ferux.getVoltage(2).value());
      board.setInput(2, 0.3);
      TestBus.waitUntil(
          () -> ferux.getRaw(2).value() == 300, PATIENCE, "the cached count to follow");
      assertTrue(ferux.getVoltage(2).isFresh());
      ferux.stopTelemetry();
      assertEquals(Reading.State.STALE, ferux.getVoltage(2).state());
      assertEquals(300, ferux.getRaw(2).value());
    }
  }

  @Test
  void aBoardThatStopsAnsweringHasMissingReadingsNotZeros() throws InterruptedException {
    try (SimAnalogBoard board = SimAnalogBoard.attach();
        Ferux ferux = new Ferux(5)) {
      board.setInput(1, 1.024);
      ferux.startTelemetry(Duration.ofMillis(5));
      TestBus.waitUntil(() -> ferux.getVoltage(1).isFresh(), PATIENCE, "a fresh voltage");
      board.setPresent(false);  // every transfer fails
      TestBus.waitUntil(
          () -> ferux.getVoltage(1).isMissing() && !ferux.isConnected(),
          PATIENCE,
          "a missing voltage, the board not connected");
      assertEquals(2.5, ferux.getVoltage(1).value(), "the last answer is kept");
      assertEquals(0.0, ferux.getVoltageBlocking(1));
      board.setPresent(true);
      TestBus.waitUntil(() -> ferux.getVoltage(1).isFresh(), PATIENCE, "the board back");
      assertTrue(ferux.isConnected());
    }
  }
}
