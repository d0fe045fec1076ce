import com.quorvel.frc.BrovaQuad;
import com.quorvel.frc.BrovaSmall;
import com.quorvel.frc.Reading;
import java.time.Duration;

/**
 * A Java robot program on WPILib's own simulation HAL, built from the packaged jar and natives
 * alone. It loads the test responder (its file in the system property brova.responder), which
 * initialises WPILib's HAL and answers on the simulation's CAN callbacks, then reads a BrovaQuad
 * (device 6) and a BrovaSmall (device 7) through the Java objects, and checks that the
 * keep-alive follows the simulated Driver Station's enable. Exits 0 when every check holds.
 */
public final class WpilibRobot {
  private static int failures = 0;

  private static void check(boolean ok, String what) {
    System.out.println((ok ? "ok   " : "FAIL ") + what);
    if (!ok) {
      failures++;
    }
  }

  private static boolean near(double value, double expected) {
    return Math.abs(value - expected) < 1e-9;
  }

  private static String firmware(java.util.function.Supplier<String> ask) {
    String text = ask.get();
    for (int attempt = 1; attempt < 5 && text.equals("Firmware Version: [0.0.0]"); ++attempt) {
      text = ask.get();
    }
    return text;
  }

  public static void main(String[] args) throws InterruptedException {
    System.load(System.getProperty("brova.responder"));
    if (!WpilibResponder.start()) {
      System.out.println("FAIL WPILib's HAL did not initialise");
      System.exit(1);
    }
    try (BrovaQuad quad = new BrovaQuad(6);
        BrovaSmall small = new BrovaSmall(7)) {
      final String quadFirmware = firmware(quad::getFirmwareVersion);
      check(quadFirmware.equals("Firmware Version: [3.1.6]"),
          "Java firmware of device 6: " + quadFirmware);
      final String smallFirmware = firmware(small::getFirmwareVersion);
      check(smallFirmware.equals("Firmware Version: [3.1.7]"),
          "Java firmware of device 7: " + smallFirmware);
      quad.startTelemetry(Duration.ofMillis(20));
      small.startTelemetry(Duration.ofMillis(20));
      Thread.sleep(500);
      final Reading temperature = quad.getTemperature();
      check(temperature.isFresh() && near(temperature.value(), 30.06),
          "Java temperature of device 6: " + temperature.value());
      final Reading current = quad.getCurrent(1);
      check(current.isFresh() && near(current.value(), 1.06),
          "Java current of device 6, channel 1: " + current.value());
      final Reading smallCurrent = small.getCurrent();
      check(smallCurrent.isFresh() && near(smallCurrent.value(), 7.0),
          "Java current of device 7: " + smallCurrent.value());
      check(quad.isConnected() && small.isConnected(), "Java objects connected");

      for (final boolean enabled : new boolean[] {true, false}) {
        WpilibResponder.setEnabled(enabled);
        for (final int device : new int[] {6, 7}) {
          Thread.sleep(150);
          WpilibResponder.clearKeepAlives();
          Thread.sleep(400);
          final int active = WpilibResponder.keepAlives(device, true);
          final int inactive = WpilibResponder.keepAlives(device, false);
          final boolean followed =
              enabled ? active >= 2 && inactive == 0 : inactive >= 2 && active == 0;
          check(followed, "device " + device + (enabled ? " enabled: " : " disabled: ") + active
              + " active, " + inactive + " inactive keep-alive frames");
        }
      }
    }
    System.out.println("WPILib simulation robot (Java): " + failures + " failed");
    System.exit(failures == 0 ? 0 : 1);
  }
}
