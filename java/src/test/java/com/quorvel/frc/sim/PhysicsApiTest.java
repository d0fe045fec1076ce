package com.quorvel.frc.sim;

import static org.junit.jupiter.api.Assertions.assertEquals;

import com.quorvel.frc.BrovaQuad;
import com.quorvel.frc.BrovaSmall;
import com.quorvel.frc.Ferux;
import com.quorvel.frc.Reading;
import java.time.Duration;
import java.util.ArrayList;
import java.util.List;
import java.util.function.BooleanSupplier;
import org.junit.jupiter.api.BeforeEach;
import org.junit.jupiter.api.Test;

/**
 * The simulation classes over the simulated platform, with simulated controllers and a board
 * attached: the cases the C++ classes pass (tests/support/PhysicsCases.h), in the same order, and
 * what they refuse.
 */
class PhysicsApiTest {
  /** How long a case may take to hold: generous, for a loaded machine. */
  private static final long BOUND_NANOS = Duration.ofSeconds(5).toNanos();

  /** What a case does, and what holds once it has taken effect (false until then). */
  private record Case(String name, Runnable act, BooleanSupplier holds) {}

  /** A call that must throw {@code type} with {@code message}. */
  private record Refusal(
      String name, Runnable call, Class<? extends RuntimeException> type, String message) {}

  @BeforeEach
  void startFromAnEmptyBus() {
    SimCan.reset();
  }

  private static boolean near(double value, double expected, double tolerance) {
    return Math.abs(value - expected) <= tolerance;
  }

  private static boolean freshNear(Reading reading, double expected, double tolerance) {
    return reading.isFresh() && near(reading.value(), expected, tolerance);
  }

  @Test
  @SuppressWarnings("try") // the board's model answers; the test reads it through the board
  void theCasesOfTheCppClassesHoldAndTheRefusalsAreTheirs() throws InterruptedException {
    try (SimController quadModel = SimController.attach(SimController.Model.QUAD, 6);
        SimController smallModel = SimController.attach(SimController.Model.SMALL, 7);
        SimAnalogBoard boardModel = SimAnalogBoard.attach()) {
      final BrovaQuad quad = new BrovaQuad(6);
      final BrovaSmall small = new BrovaSmall(7);
      final Ferux board = new Ferux();
      try {
        run(quadModel, smallModel, quad, small, board);
      } finally {
        quad.close();
        small.close();
        board.close();
      }
    }
  }

  /** The cases, then the refusals; the last ones with the three objects closed. */
  private static void run(
      SimController quadModel,
      SimController smallModel,
      BrovaQuad quad,
      BrovaSmall small,
      Ferux board)
      throws InterruptedException {
    SimCan.setSystemActive(true);
    final Duration period = Duration.ofMillis(20);
    quad.startTelemetry(period);
    small.startTelemetry(period);
    board.startTelemetry(period);
    final BrovaQuadSim quadSim = new BrovaQuadSim(quad);
    final BrovaSmallSim smallSim = new BrovaSmallSim(small);
    final FeruxSim boardSim = new FeruxSim(board);

    final List<Case> cases =
        List.of(
            new Case(
                "set drives the applied output and enables",
                () -> quad.set(0, 0.5),
                () -> quadSim.getAppliedOutput(0) == 0.5 && quadSim.isEnabled()),
            // At free speed the motor still draws its friction current, 0.5 A at this duty: half
            // of it holds however late the reading comes, after the start's peak.
            new Case(
                "a driven motor turns, draws and counts",
                () -> {},
                () ->
                    quad.getRPM(0).isFresh()
                        && quad.getRPM(0).value() > 100.0
                        && quad.getCurrent(0).value() > 0.25
                        && quad.getEncoderDistance(0).value() > 100.0),
            new Case(
                "disable turns the output off",
                () -> quad.disable(0),
                () -> quadSim.getAppliedOutput(0) == 0.0),
            new Case(
                "a speed set in the simulation is what the controller reports",
                () -> quadSim.setRPM(1, 1234.0),
                () -> freshNear(quad.getRPM(1), 1234.0, 0.5) && quadModel.rpm(1) == 1234.0),
            new Case(
                "an encoder set under a held speed counts on from where it was set",
                () -> quadSim.setEncoderCount(1, -1000000),
                () -> {
                  final Reading r = quad.getEncoderDistance(1);
                  return r.isFresh() && r.value() > -1000000.0 + 2048.0 && r.value() < 0.0;
                }),
            new Case(
                "a current set in the simulation is what the controller reports",
                () -> quadSim.setCurrent(2, 7.5),
                () -> freshNear(quad.getCurrent(2), 7.5, 0.005) && quadSim.getCurrent(2) == 7.5),
            new Case(
                "an encoder count set in the simulation is where the encoder stands",
                () -> quadSim.setEncoderCount(3, 4096),
                () ->
                    freshNear(quad.getEncoderDistance(3), 4096.0, 0.0)
                        && quadSim.getEncoderCount(3) == 4096),
            new Case(
                "a temperature set in the simulation is what the controller reports",
                () -> quadSim.setTemperature(61.25),
                () ->
                    freshNear(quad.getTemperature(), 61.25, 0.005)
                        && quadSim.getTemperature() == 61.25
                        && quadModel.temperature() == 61.25),
            new Case(
                "a load gives the speed back to the model: a stalled motor stops",
                () -> quadSim.setLoad(1, 1.0),
                () -> freshNear(quad.getRPM(1), 0.0, 0.5) && near(quadSim.getRPM(1), 0.0, 0.5)),
            new Case(
                "the single-channel controller follows its set and reports a set current",
                () -> {
                  small.set(-0.25);
                  smallSim.setCurrent(40.0); // above any current the model draws at this duty
                },
                () ->
                    smallSim.getAppliedOutput() == -0.25
                        && smallSim.isEnabled()
                        && smallModel.enabled()
                        && freshNear(small.getCurrent(), 40.0, 0.0)
                        && smallSim.getCurrent() == 40.0),
            new Case(
                "a board input set in the simulation is what the next conversion reads",
                () -> boardSim.setVoltage(2, 1.0),
                () -> freshNear(board.getRaw(2), 1000.0, 0.0) && boardSim.getVoltage(2) == 1.0));
    final List<String> failed = new ArrayList<>();
    for (Case c : cases) {
      c.act().run();
      final long until = System.nanoTime() + BOUND_NANOS;
      boolean held = c.holds().getAsBoolean();
      while (!held && System.nanoTime() - until < 0) {
        Thread.sleep(10);
        held = c.holds().getAsBoolean();
      }
      if (!held) {
        failed.add(c.name());
      }
    }

    final String nan = "a simulated value must be a number";
    final List<Refusal> refusals =
        List.of(
            new Refusal(
                "channel 4",
                () -> quadSim.setRPM(4, 1.0),
                IllegalArgumentException.class,
                "BrovaQuad channel 4 is outside 0..3"),
            new Refusal(
                "channel -1",
                () -> quadSim.getAppliedOutput(-1),
                IllegalArgumentException.class,
                "BrovaQuad channel -1 is outside 0..3"),
            new Refusal(
                "NaN current",
                () -> smallSim.setCurrent(Double.NaN),
                IllegalArgumentException.class,
                nan),
            new Refusal(
                "NaN load",
                () -> quadSim.setLoad(0, Double.NaN),
                IllegalArgumentException.class,
                nan),
            new Refusal(
                "NaN temperature",
                () -> quadSim.setTemperature(Double.NaN),
                IllegalArgumentException.class,
                nan),
            new Refusal(
                "board input 4",
                () -> boardSim.setVoltage(4, 1.0),
                IllegalArgumentException.class,
                "analog channel 4 is outside 0..3"),
            new Refusal(
                "NaN volts",
                () -> boardSim.setVoltage(0, Double.NaN),
                IllegalArgumentException.class,
                nan));
    final List<Refusal> closed =
        List.of(
            new Refusal(
                "a closed BrovaQuad's applied output",
                () -> quadSim.getAppliedOutput(0),
                IllegalStateException.class,
                "BrovaQuad on device 6 is closed"),
            new Refusal(
                "a closed BrovaQuad's load",
                () -> quadSim.setLoad(0, 0.5),
                IllegalStateException.class,
                "BrovaQuad on device 6 is closed"),
            new Refusal(
                "a closed BrovaQuad's simulation made",
                () -> new BrovaQuadSim(quad),
                IllegalStateException.class,
                "BrovaQuad on device 6 is closed"),
            new Refusal(
                "a closed BrovaSmall's enable",
                () -> smallSim.isEnabled(),
                IllegalStateException.class,
                "BrovaSmall on device 7 is closed"),
            new Refusal(
                "a closed BrovaSmall's temperature",
                () -> smallSim.setTemperature(30.0),
                IllegalStateException.class,
                "BrovaSmall on device 7 is closed"),
            new Refusal(
                "a closed board's voltage",
                () -> boardSim.getVoltage(0),
                IllegalStateException.class,
                "Ferux analog board is closed"),
            new Refusal(
                "a closed board's simulation made",
                () -> new FeruxSim(board),
                IllegalStateException.class,
                "Ferux analog board is closed"));
    final List<String> unrefused = unrefused(refusals);
    quad.close();
    small.close();
    board.close();
    unrefused.addAll(unrefused(closed));
    assertEquals(List.of(), failed, "cases that did not hold within 5 s");
    assertEquals(List.of(), unrefused, "refusals that did not happen");
  }

  /** The refusals that did not happen as expected, each with what happened instead. */
  private static List<String> unrefused(List<Refusal> refusals) {
    final List<String> missed = new ArrayList<>();
    for (Refusal refusal : refusals) {
      try {
        refusal.call().run();
        missed.add(refusal.name() + ": nothing thrown");
      } catch (RuntimeException e) {
        if (e.getClass() != refusal.type() || !refusal.message().equals(e.getMessage())) {
          missed.add(refusal.name() + ": " + e);
        }
      }
    }
    return missed;
  }
}
