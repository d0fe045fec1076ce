package com.quorvel.frc;

import static org.junit.jupiter.api.Assertions.assertEquals;
import static org.junit.jupiter.api.Assertions.assertThrows;

import com.quorvel.frc.sim.SimAnalogBoard;
import com.quorvel.frc.sim.SimCan;
import java.time.Duration;
import java.util.Arrays;
import java.util.EnumSet;
import java.util.HashSet;
import java.util.List;
import java.util.Set;
import java.util.stream.IntStream;
import java.util.stream.Stream;
import org.junit.jupiter.api.AfterEach;
import org.junit.jupiter.api.BeforeEach;
import org.junit.jupiter.api.Test;
import org.junit.jupiter.api.function.Executable;
import org.junit.jupiter.params.ParameterizedTest;
import org.junit.jupiter.params.provider.Arguments;
import org.junit.jupiter.params.provider.MethodSource;
import org.junit.jupiter.params.provider.ValueSource;

/**
 * Arguments the library would truncate or send silently are refused with a clear message. The
 * range edges and NaN speeds are rows of tests/objects/object-behaviour.tsv
 * ({@link ObjectBehaviourTableTest}).
 */
class ArgumentCheckTest {
  private BrovaQuad quad;
  private BrovaSmall small;

  @BeforeEach
  void startFromAnEmptyBus() {
    SimCan.reset();
    SimCan.setRecording(true);
  }

  @AfterEach
  void closeControllers() {
    if (quad != null) {
      quad.close();
    }
    if (small != null) {
      small.close();
    }
  }

  /** Runs {@code call}, expecting the message, and checks that nothing reached the bus. */
  private static void assertRefused(String message, Executable call) {
    SimCan.clearSentFrames();
    final IllegalArgumentException refused = assertThrows(IllegalArgumentException.class, call);
    assertEquals(message, refused.getMessage());
    assertEquals(List.of(), TestBus.describedCommandFrames());
  }

  @ParameterizedTest
  @ValueSource(ints = {0, 64, -1, 65, 65537, Integer.MIN_VALUE, Integer.MAX_VALUE})
  void deviceNumbersOutside1To63AreRefusedWithoutTakingTheSlot(int device) {
    final String outside = " device number " + device + " is outside 1..63";
    assertRefused("BrovaQuad" + outside, () -> new BrovaQuad(device));
    assertRefused("BrovaQuad" + outside, () -> new BrovaQuad(device, 1000));
    assertRefused("BrovaSmall" + outside, () -> new BrovaSmall(device));
    assertRefused("BrovaSmall" + outside, () -> new BrovaSmall(device, 1000));
    assertEquals(0, SimCan.sentFrames().length, "no keep-alive was started");
    quad = new BrovaQuad(5);
    small = new BrovaSmall(7);
  }

  @ParameterizedTest
  @ValueSource(ints = {-1, 20001, 65536, 1 << 16 | 1000, Integer.MIN_VALUE})
  void frequenciesOutside0To20000AreRefused(int frequency) {
    final String message = "motor frequency " + frequency + " is outside 0..20000";
    assertRefused(message, () -> new BrovaQuad(5, frequency));
    assertRefused(message, () -> new BrovaSmall(7, frequency));
    quad = new BrovaQuad(5);
    small = new BrovaSmall(7);
    assertRefused(message, () -> quad.setFrequency(2, frequency));
    assertRefused(message, () -> small.setFrequency(frequency));
  }

  private interface ChannelCall {
    void call(BrovaQuad quad, int number);
  }

  private record QuadCall(String what, ChannelCall call) {}

  static Stream<Arguments> channelCalls() {
    return Stream.of(
            new QuadCall("motor", (q, n) -> q.set(n, 0.5)),
            new QuadCall("motor", (q, n) -> q.disable(n)),
            new QuadCall("motor", (q, n) -> q.setFrequency(n, 1000)),
            new QuadCall("motor", (q, n) -> q.getCurrent(n)),
            new QuadCall("motor", (q, n) -> q.getRPM(n)),
            new QuadCall("motor", (q, n) -> q.getCurrentBlocking(n)),
            new QuadCall("motor", (q, n) -> q.getRPMBlocking(n)),
            new QuadCall("encoder", (q, n) -> q.getEncoderDistance(n)),
            new QuadCall("encoder", (q, n) -> q.getEncoderDistanceBlocking(n)),
            new QuadCall("encoder", (q, n) -> q.resetEncoder(n)),
            new QuadCall("encoder", (q, n) -> q.getEncoder(n)))
        .flatMap(
            call ->
                IntStream.of(-1, 4, 256, 260)
                    .mapToObj(n -> Arguments.of(call.what(), call.call(), n)));
  }

  @ParameterizedTest(name = "{0} {2}")
  @MethodSource("channelCalls")
  void quadChannelsOutside0To3AreRefused(String what, ChannelCall call, int number) {
    quad = new BrovaQuad(5);
    assertRefused(
        "BrovaQuad " + what + " " + number + " is outside 0..3", () -> call.call(quad, number));
  }

  @ParameterizedTest
  @ValueSource(doubles = {Double.NaN, Double.POSITIVE_INFINITY, Double.NEGATIVE_INFINITY})
  void aDistancePerTickThatIsNotFiniteIsRefused(double distancePerTick) {
    quad = new BrovaQuad(5);
    small = new BrovaSmall(7);
    final String message = "distance per tick must be finite";
    assertRefused(message, () -> quad.getEncoder(0).setDistancePerTick(distancePerTick));
    assertRefused(message, () -> small.getEncoder().setDistancePerTick(distancePerTick));
    assertEquals(1.0, quad.getEncoder(0).getDistancePerTick());
    assertEquals(1.0, small.getEncoder().getDistancePerTick());
  }

  @Test
  void aTelemetryPeriodMustBeGiven() {
    quad = new BrovaQuad(5);
    small = new BrovaSmall(7);
    // A zero or negative period: rows of object-behaviour.tsv.
    assertThrows(NullPointerException.class, () -> quad.startTelemetry(null));
    assertThrows(NullPointerException.class, () -> small.startTelemetry(null));
    try (Ferux ferux = new Ferux(5)) {
      assertThrows(NullPointerException.class, () -> ferux.startTelemetry(null));
      assertEquals(false, ferux.isTelemetryRunning());
    }
    assertEquals(false, quad.isTelemetryRunning());
    assertEquals(false, small.isTelemetryRunning());
  }

  @Test
  void telemetryChoicesNameQuantitiesAndChannels0To3() {
    quad = new BrovaQuad(5);
    small = new BrovaSmall(7);
    final Duration period = Duration.ofMillis(20);
    final Set<Quantity> current = EnumSet.of(Quantity.CURRENT);
    final Set<Quantity> holdingNull = new HashSet<>(Arrays.asList(Quantity.RPM, null));
    final Set<Integer> channelsHoldingNull = new HashSet<>(Arrays.asList(0, null));
    for (int channel : new int[] {-1, 4, 31, 32, Integer.MIN_VALUE}) {
      assertRefused(
          "telemetry channel " + channel + " is outside 0..3",
          () -> quad.startTelemetry(period, current, Set.of(0, channel)));
    }
    assertRefused(
        "telemetry channel null is outside 0..3",
        () -> quad.startTelemetry(period, current, channelsHoldingNull));
    final String noQuantity = "telemetry quantities hold null, which names none";
    assertRefused(noQuantity, () -> quad.startTelemetry(period, holdingNull));
    assertRefused(noQuantity, () -> small.startTelemetry(period, holdingNull));
    assertThrows(NullPointerException.class, () -> quad.startTelemetry(period, null));
    assertThrows(NullPointerException.class, () -> quad.startTelemetry(period, current, null));
    assertEquals(false, quad.isTelemetryRunning());
    assertEquals(false, small.isTelemetryRunning());
  }

  @ParameterizedTest
  @ValueSource(
      doubles = {
        Double.NaN, -0.5, -1.0, Double.NEGATIVE_INFINITY, Double.POSITIVE_INFINITY,
        16777217.0, 2147483648.0, 1e300
      })
  @SuppressWarnings("deprecation") // whole volts: object-behaviour.tsv
  void fractionalFullScaleVoltagesTheBoardCannotTakeAreRefusedWithoutTakingTheSlot(double volts) {
    assertRefused(
        "full-scale voltage " + volts + " V is outside 0..16777216 V", () -> new Ferux(volts));
    new Ferux().close();
  }

  private interface AnalogCall {
    void call(Ferux ferux, int channel);
  }

  private record BoardCall(String name, AnalogCall call) {}

  static Stream<Arguments> analogCalls() {
    return Stream.of(
            new BoardCall("getVoltage", Ferux::getVoltage),
            new BoardCall("getRaw", Ferux::getRaw),
            new BoardCall("getVoltageBlocking", Ferux::getVoltageBlocking),
            new BoardCall("getRawBlocking", Ferux::getRawBlocking))
        .flatMap(
            call ->
                IntStream.of(-1, 4, 256)
                    .mapToObj(n -> Arguments.of(call.name(), call.call(), n)));
  }

  @ParameterizedTest(name = "{0} {2}")
  @MethodSource("analogCalls")
  void analogChannelsOutside0To3AreRefused(String name, AnalogCall call, int channel) {
    try (SimAnalogBoard board = SimAnalogBoard.attach();
        Ferux ferux = new Ferux(5)) {
      board.setInput(0, 1.0);
      final IllegalArgumentException refused =
          assertThrows(IllegalArgumentException.class, () -> call.call(ferux, channel));
      assertEquals("analog channel " + channel + " is outside 0..3", refused.getMessage());
    }
  }
}
