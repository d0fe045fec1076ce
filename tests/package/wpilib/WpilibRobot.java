import com.quorvel.frc.BrovaQuad;
import com.quorvel.frc.BrovaSmall;
import com.quorvel.frc.Ferux;
import com.quorvel.frc.Reading;
import com.quorvel.frc.sim.BrovaQuadSim;
import com.quorvel.frc.sim.BrovaSmallSim;
import com.quorvel.frc.sim.FeruxSim;
import java.time.Duration;
import java.util.function.BooleanSupplier;

/**
 * A Java robot program on WPILib's own simulation HAL, built from the packaged jar and natives
 * alone, with no simulation code of its own: it initialises the HAL and enables the simulated
 * Driver Station (the harness in the system property brova.harness); the library's device models
 * answer. It reads a BrovaQuad (device 6), a BrovaSmall (device 7) and the Ferux board through the
 * Java objects, finds them among the simulated devices, checks that outputs follow set() and stop
 * when the robot is disabled, that a value set with HAL_SetSimValue shows in the next reading,
 * and that the simulation objects read and set what the models use. Exits 0 when every check
 * holds.
 */
public final class WpilibRobot {
  private static int failures = 0;

  private static void check(boolean ok, String what) {
    System.out.println((ok ? "ok   " : "FAIL ") + what);
    if (!ok) {
      failures++;
    }
  }

  /** Waits up to five seconds for {@code holds}. */
  private static boolean eventually(BooleanSupplier holds) throws InterruptedException {
    final long until = System.nanoTime() + 5_000_000_000L;
    while (!holds.getAsBoolean()) {
      if (System.nanoTime() > until) {
        return false;
      }
      Thread.sleep(10);
    }
    return true;
  }

  private static boolean freshAt(Reading reading, double value) {
    return reading.isFresh() && reading.value() == value;
  }

  public static void main(String[] args) throws InterruptedException {
    System.load(System.getProperty("brova.harness"));
    if (!WpilibHarness.start()) {
      System.out.println("FAIL WPILib's HAL did not initialise");
      System.exit(1);
    }
    try (BrovaQuad quad = new BrovaQuad(6);
        BrovaSmall small = new BrovaSmall(7);
        Ferux board = new Ferux()) {
      check(quad.getFirmwareVersion().equals("Firmware Version: [1.4.2]"),
          "Java firmware of device 6: " + quad.getFirmwareVersion());
      final String devices = WpilibHarness.devices("");
      check(devices.contains("BrovaQuad[6]\n") && devices.contains("BrovaSmall[7]\n")
              && devices.contains("Ferux[1]\n"),
          "simulated devices: " + devices.replace('\n', ' '));

      quad.startTelemetry(Duration.ofMillis(20));
      small.startTelemetry(Duration.ofMillis(20));
      board.startTelemetry(Duration.ofMillis(20));
      check(eventually(() -> quad.getTemperature().isFresh() && small.getCurrent().isFresh()),
          "Java telemetry reads fresh readings");

      WpilibHarness.setEnabled(true);
      quad.set(2, 0.4);
      small.set(-0.6);
      check(eventually(() -> WpilibHarness.value("BrovaQuad[6]", "output 2") == 0.4
              && WpilibHarness.value("BrovaSmall[7]", "output 0") == -0.6),
          "Java set drives the outputs");
      check(eventually(() -> quad.getRPM(2).isFresh() && quad.getRPM(2).value() > 1000.0),
          "the driven motor turns: " + quad.getRPM(2).value() + " rpm");
      WpilibHarness.setEnabled(false);
      check(eventually(() -> WpilibHarness.value("BrovaQuad[6]", "output 2") == 0.0
              && WpilibHarness.value("BrovaSmall[7]", "enabled") == 0.0),
          "disabling the robot stops the outputs");

      check(WpilibHarness.setValue("BrovaSmall[7]", "current 0", 9.0), "current 0 is settable");
      check(eventually(() -> freshAt(small.getCurrent(), 9.0)),
          "HAL_SetSimValue's 9 A reads as the BrovaSmall's current: " + small.getCurrent().value());

      WpilibHarness.setEnabled(true);
      final BrovaQuadSim quadSim = new BrovaQuadSim(quad);
      final BrovaSmallSim smallSim = new BrovaSmallSim(small);
      final FeruxSim boardSim = new FeruxSim(board);
      quad.set(0, 0.5);
      check(eventually(() -> quadSim.getAppliedOutput(0) == 0.5 && quadSim.isEnabled()),
          "BrovaQuadSim reads the applied output and the enable");
      quadSim.setRPM(1, 1234.0);
      check(eventually(() -> freshAt(quad.getRPM(1), 1234.0)), "BrovaQuadSim's speed reads back");
      small.disable();
      check(eventually(() -> Math.abs(smallSim.getRPM()) < 1.0), "the BrovaSmall's motor stops");
      smallSim.setEncoderCount(-4096);
      check(eventually(() -> small.getEncoderDistance().isFresh()
              && Math.abs(small.getEncoderDistance().value() + 4096.0) < 50.0),
          "BrovaSmallSim's encoder count reads back: " + small.getEncoderDistance().value());
      boardSim.setVoltage(1, 1.5);
      check(eventually(() -> freshAt(board.getRaw(1), 1500.0)), "FeruxSim's voltage is converted");
    }
    check(!WpilibHarness.devices("").contains("BrovaQuad[6]"),
        "closed objects leave the simulated devices");
    System.out.println("WPILib simulation robot (Java): " + failures + " failed");
    System.exit(failures == 0 ? 0 : 1);
  }
}
