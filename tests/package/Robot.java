import com.quorvel.frc.BrovaQuad;
import com.quorvel.frc.BrovaSmall;
import com.quorvel.frc.Reading;
import java.time.Duration;

/**
 * A robot program as a team builds it from the packaged artifacts alone: the BrovaDriver-java
 * jar and the library the vendordep's JNI dependency names. Exits 0 when the BrovaQuad on
 * device 5 and the BrovaSmall on device 7 both answer and their telemetry is read.
 */
public final class Robot {
  public static void main(String[] args) throws InterruptedException {
    try (BrovaQuad quad = new BrovaQuad(5);
        BrovaSmall small = new BrovaSmall(7)) {
      final String quadFirmware = quad.getFirmwareVersion();
      final String smallFirmware = small.getFirmwareVersion();
      quad.startTelemetry(Duration.ofMillis(20));
      small.startTelemetry(Duration.ofMillis(20));
      Thread.sleep(500);
      final Reading temperature = quad.getTemperature();
      final Reading current = small.getCurrent();
      System.out.printf("Java robot: quad %s, temperature %.2f C; small %s, current %.2f A%n",
          quadFirmware, temperature.value(), smallFirmware, current.value());
      final String silent = "Firmware Version: [0.0.0]";
      final boolean answered = !quadFirmware.equals(silent) && !smallFirmware.equals(silent);
      System.exit(answered && temperature.isPresent() && temperature.value() > 0.0
          && current.isPresent() ? 0 : 1);
    }
  }
}
