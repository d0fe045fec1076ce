package com.quorvel.frc;

import static org.junit.jupiter.api.Assertions.assertFalse;
import static org.junit.jupiter.api.Assertions.assertTrue;

import com.quorvel.frc.sim.SimCan;
import com.quorvel.frc.sim.SimController;
import java.time.Duration;
import java.util.ArrayList;
import java.util.List;
import java.util.function.Supplier;
import org.junit.jupiter.api.BeforeEach;
import org.junit.jupiter.api.Test;

/** Several controllers of both models open at once, each read from its own device. */
class ManyControllersTest {
  private static final Duration PATIENCE = Duration.ofSeconds(10);

  @BeforeEach
  void startFromAnEmptyBus() {
    SimCan.reset();
    SimCan.setRecording(true);
  }

  /** One open controller, its simulated device, and the speed its motor 0 is driven at. */
  private record Pair(Controller controller, SimController.Model model, int device, double speed) {
    Reading current() {
      return controller instanceof BrovaQuad quad
          ? quad.getCurrent(0)
          : ((BrovaSmall) controller).getCurrent();
    }

    boolean freshAndConnected() {
      return current().isFresh() && controller.isConnected();
    }

    /**
     * Whether the readings follow this device's motor, which no other is driven alike: a
     * BrovaQuad's speed settles at its share of 5000 rpm; a BrovaSmall's encoder counts only
     * when driven.
     */
    boolean followsItsMotor() {
      if (controller instanceof BrovaQuad quad) {
        final double rpm = quad.getRPM(0).value();
        return rpm > 0.8 * 5000 * speed && rpm < 1.05 * 5000 * speed;
      }
      final double distance = ((BrovaSmall) controller).getEncoderDistance().value();
      return speed == 0 ? distance == 0 : distance > 0;
    }
  }

  @Test
  void eachControllerReadsItsOwnDeviceAndADetachedOneGoesMissingAlone()
      throws InterruptedException {
    final List<Pair> pairs = new ArrayList<>();
    final List<SimController> sims = new ArrayList<>();
    try {
      pairs.add(new Pair(new BrovaQuad(5), SimController.Model.QUAD, 5, 0.2));
      pairs.add(new Pair(new BrovaQuad(6), SimController.Model.QUAD, 6, 0.5));
      pairs.add(new Pair(new BrovaQuad(9), SimController.Model.QUAD, 9, 0.8));
      pairs.add(new Pair(new BrovaSmall(7), SimController.Model.SMALL, 7, 0.0));
      pairs.add(new Pair(new BrovaSmall(8), SimController.Model.SMALL, 8, 1.0));
      SimCan.setSystemActive(true);
      for (Pair pair : pairs) {
        sims.add(SimController.attach(pair.model(), pair.device()));
        if (pair.controller() instanceof BrovaQuad quad) {
          quad.set(0, pair.speed());
        } else {
          ((BrovaSmall) pair.controller()).set(pair.speed());
        }
        pair.controller().startTelemetry(Duration.ofMillis(20));
      }
      waitFor(
          pairs,
          pair -> pair.freshAndConnected() && pair.followsItsMotor(),
          "every controller fresh, connected and following its own motor");

      final Pair detached = pairs.get(1);
      sims.get(1).close();
      TestBus.waitUntil(
          () -> detached.current().isMissing() && !detached.controller().isConnected(),
          PATIENCE,
          detached.controller() + " to go missing");
      assertTrue(detached.current().isPresent(), "a missing reading keeps the last answer");
      final List<Pair> others = new ArrayList<>(pairs);
      others.remove(detached);
      // The others keep answering: their readings are renewed after the detached one went missing.
      final long missingSince = System.nanoTime();
      waitFor(
          others,
          pair -> pair.freshAndConnected() && pair.current().timeNanos() - missingSince > 0,
          "the others renewed");
      assertFalse(detached.controller().isConnected());

      sims.set(1, SimController.attach(detached.model(), detached.device()));
      TestBus.waitUntil(
          detached::freshAndConnected, PATIENCE, detached.controller() + " to answer again");
    } finally {
      pairs.forEach(pair -> pair.controller().close());
      sims.forEach(SimController::close);
    }
  }

  private interface Condition {
    boolean holds(Pair pair);
  }

  private static void waitFor(List<Pair> pairs, Condition condition, String what)
      throws InterruptedException {
    final Supplier<Boolean> all = () -> pairs.stream().allMatch(condition::holds);
    TestBus.waitUntil(all::get, PATIENCE, what);
  }
}
