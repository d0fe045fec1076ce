import com.quorvel.frc.BrovaQuad;
import com.quorvel.frc.Reading;
import java.time.Duration;

/**
 * A robot program as a team builds it from the packaged artifacts alone: the BrovaDriver-java
 * jar and the JNI library. Exits 0 when the BrovaQuad on device 5 answers and its telemetry is
 * read.
 */
public final class Robot {
  public static void main(String[] args) throws InterruptedException {
    try (BrovaQuad quad = new BrovaQuad(5)) {
      final String firmware = quad.getFirmwareVersion();
      quad.startTelemetry(Duration.ofMillis(20));
      Thread.sleep(500);
      final Reading temperature = quad.getTemperature();
      System.out.printf("Java robot: %s, temperature %.2f C%n", firmware, temperature.value());
      final boolean answered = !firmware.equals("Firmware Version: [0.0.0]");
      System.exit(answered && temperature.isPresent() && temperature.value() > 0.0 ? 0 : 1);
    }
  }
}
