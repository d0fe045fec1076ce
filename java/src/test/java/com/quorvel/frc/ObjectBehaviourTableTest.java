package com.quorvel.frc;

import static org.junit.jupiter.api.Assertions.assertDoesNotThrow;
import static org.junit.jupiter.api.Assertions.assertEquals;
import static org.junit.jupiter.api.Assertions.assertNotNull;
import static org.junit.jupiter.api.Assertions.assertTrue;
import static org.junit.jupiter.api.Assertions.fail;
import static org.junit.jupiter.api.Assumptions.assumeFalse;

import com.quorvel.frc.sim.SimCan;
import java.io.IOException;
import java.nio.file.Files;
import java.nio.file.Path;
import java.time.Duration;
import java.util.ArrayList;
import java.util.Arrays;
import java.util.EnumSet;
import java.util.HashSet;
import java.util.List;
import java.util.Locale;
import java.util.Set;
import org.junit.jupiter.api.BeforeEach;
import org.junit.jupiter.api.Test;
import org.junit.jupiter.params.ParameterizedTest;
import org.junit.jupiter.params.provider.MethodSource;

/**
 * The rows of tests/objects/object-behaviour.tsv, which the C++ objects' tests read too: what the
 * two languages' objects do alike. The build passes the file's path as the system property
 * {@value #TABLE_PROPERTY}.
 */
class ObjectBehaviourTableTest {
  static final String TABLE_PROPERTY = "brova.objectBehaviourTable";

  /** The HAL generation the library was built for, from the system property of this name. */
  static final String HAL_PROPERTY = "brova.hal";

  /** The 2026 HAL has one CAN bus, bus 0; an open on another is refused with this message. */
  private static boolean onlyBusZero() {
    final String hal = System.getProperty(HAL_PROPERTY);
    assertNotNull(hal, "the system property " + HAL_PROPERTY + " names the HAL generation");
    return Integer.parseInt(hal) < 2027;
  }

  private static final String ONLY_BUS_ZERO_REFUSAL = "this HAL has one CAN bus, bus 0";
  private static final String HEADER =
      "object\tstate\toperation\targuments\toutcome\tnames\tframes\tthen";

  /** One row of the table, as its header comment describes. */
  record Row(
      int line,
      String object,
      String state,
      String operation,
      List<String> arguments,
      String outcome,
      String names,
      List<String> frames,
      String then) {
    @Override
    public String toString() {
      return "line " + line + ": " + object + " " + state + " " + operation + " " + arguments;
    }
  }

  private static List<String> words(String text) {
    final List<String> result = Arrays.asList(text.trim().split("\\s+"));
    return result.equals(List.of("-")) || text.isBlank() ? List.of() : result;
  }

  static List<Row> rows() throws IOException {
    final String path = System.getProperty(TABLE_PROPERTY);
    assertNotNull(path, "the system property " + TABLE_PROPERTY + " names the table");
    final List<String> lines = Files.readAllLines(Path.of(path));
    final List<Row> rows = new ArrayList<>();
    boolean sawHeader = false;
    for (int i = 0; i < lines.size(); ++i) {
      final String line = lines.get(i);
      if (line.isEmpty() || line.startsWith("#")) {
        continue;
      }
      if (!sawHeader) {
        assertEquals(HEADER, line, "the table's header, line " + (i + 1));
        sawHeader = true;
        continue;
      }
      final String[] fields = line.split("\t", -1);
      assertEquals(8, fields.length, "tab-separated fields on line " + (i + 1));
      rows.add(
          new Row(
              i + 1,
              fields[0],
              fields[1],
              fields[2],
              words(fields[3]),
              fields[4],
              fields[5],
              words(fields[6]),
              fields[7]));
    }
    return rows;
  }

  /** The objects of one row: the row's subject, or the object its open makes. */
  private static final class Devices {
    BrovaQuad quad;
    BrovaSmall small;
    Ferux ferux;

    void close() {
      for (AutoCloseable device : new AutoCloseable[] {quad, small, ferux}) {
        if (device != null) {
          try {
            device.close();
          } catch (Exception e) {
            throw new AssertionError(e);
          }
        }
      }
    }
  }

  private static int integer(List<String> arguments, int i) {
    return Integer.parseInt(arguments.get(i));
  }

  /** The bus a word bus:N of an open's arguments names, or null for none. */
  private static Integer openBus(List<String> arguments) {
    for (String word : arguments) {
      if (word.startsWith("bus:")) {
        return Integer.valueOf(word.substring(4));
      }
    }
    return null;
  }

  /** An open's arguments without its bus:N word. */
  private static List<String> withoutBus(List<String> arguments) {
    return arguments.stream().filter(word -> !word.startsWith("bus:")).toList();
  }

  /** The bus a state "open:N" opens the row's object on; 0 for plain "open". */
  private static int stateBus(String state) {
    return state.startsWith("open:") ? Integer.parseInt(state.substring(5)) : 0;
  }

  private static BrovaQuad openQuad(List<String> arguments) {
    final Integer bus = openBus(arguments);
    final List<String> a = withoutBus(arguments);
    if (bus == null) {
      return a.size() == 1
          ? new BrovaQuad(integer(a, 0))
          : new BrovaQuad(integer(a, 0), integer(a, 1));
    }
    return a.size() == 1
        ? new BrovaQuad(integer(a, 0), new CanBus(bus))
        : new BrovaQuad(integer(a, 0), new CanBus(bus), integer(a, 1));
  }

  private static BrovaSmall openSmall(List<String> arguments) {
    final Integer bus = openBus(arguments);
    final List<String> a = withoutBus(arguments);
    if (bus == null) {
      return a.size() == 1
          ? new BrovaSmall(integer(a, 0))
          : new BrovaSmall(integer(a, 0), integer(a, 1));
    }
    return a.size() == 1
        ? new BrovaSmall(integer(a, 0), new CanBus(bus))
        : new BrovaSmall(integer(a, 0), new CanBus(bus), integer(a, 1));
  }

  private static double number(List<String> arguments, int i) {
    return switch (arguments.get(i)) {
      case "nan" -> Double.NaN;
      case "inf" -> Double.POSITIVE_INFINITY;
      case "-inf" -> Double.NEGATIVE_INFINITY;
      default -> Double.parseDouble(arguments.get(i));
    };
  }

  /** A comma-separated list of quantity names. */
  private static Set<Quantity> quantities(String names) {
    final Set<Quantity> result = EnumSet.noneOf(Quantity.class);
    for (String name : names.split(",")) {
      result.add(Quantity.valueOf(name.toUpperCase(Locale.ROOT)));
    }
    return result;
  }

  /** A comma-separated list of channel numbers. */
  private static Set<Integer> channels(String numbers) {
    final Set<Integer> result = new HashSet<>();
    for (String number : numbers.split(",")) {
      result.add(Integer.valueOf(number));
    }
    return result;
  }

  /** startTelemetry with the period in ms, then optionally the quantities and the channels. */
  private static void startTelemetry(Controller controller, List<String> a) {
    final Duration period = Duration.ofMillis(integer(a, 0));
    switch (a.size()) {
      case 1 -> controller.startTelemetry(period);
      case 2 -> controller.startTelemetry(period, quantities(a.get(1)));
      default ->
          ((BrovaQuad) controller)
              .startTelemetry(period, quantities(a.get(1)), channels(a.get(2)));
    }
  }

  /** What {@link #runOnController} returns for a call that ran and returns nothing. */
  private static final Object RAN = new Object();

  /** The calls both models have, on the row's controller; null for another call. */
  private static Object runOnController(Controller controller, String operation, List<String> a) {
    return switch (operation) {
      case "startTelemetry" -> {
        startTelemetry(controller, a);
        yield RAN;
      }
      case "stopTelemetry" -> {
        controller.stopTelemetry();
        yield RAN;
      }
      case "telemetryRunning" -> controller.isTelemetryRunning() ? 1.0 : 0.0;
      case "isConnected" -> controller.isConnected() ? 1.0 : 0.0;
      case "isOpen" -> controller.isOpen() ? 1.0 : 0.0;
      case "deviceNumber" -> (double) controller.getDeviceNumber();
      case "canBus" -> (double) controller.getCanBus().getId();
      default -> null;
    };
  }

  /**
   * Runs {@code operation} of the table on {@code on}'s object of kind {@code object}; "open"
   * opens it, and "openQuad" and "openSmall" open one of that model.
   */
  private static Object run(Devices on, String object, String operation, List<String> a) {
    final Controller controller =
        object.equals("quad") ? on.quad : object.equals("small") ? on.small : null;
    if (controller != null) {
      final Object result = runOnController(controller, operation, a);
      if (result != null) {
        return result == RAN ? null : result;
      }
    }
    final String call =
        switch (operation) {
          case "openQuad" -> "quad open";
          case "openSmall" -> "small open";
          default -> object + " " + operation;
        };
    switch (call) {
      case "quad open" -> on.quad = openQuad(a);
      case "small open" -> on.small = openSmall(a);
      case "ferux open" -> on.ferux = a.isEmpty() ? new Ferux() : new Ferux(integer(a, 0));
      case "quad set" -> on.quad.set(integer(a, 0), number(a, 1));
      case "quad disable" -> on.quad.disable(integer(a, 0));
      case "quad setFrequency" -> on.quad.setFrequency(integer(a, 0), integer(a, 1));
      case "quad resetEncoder" -> on.quad.resetEncoder(integer(a, 0));
      case "quad setDistancePerTick" -> on.quad.setDistancePerTick(integer(a, 0), number(a, 1));
      case "quad distancePerTick" -> {
        return on.quad.getDistancePerTick(integer(a, 0));
      }
      case "quad encoderDistance" -> {
        return on.quad.getEncoderDistance(integer(a, 0));
      }
      case "small set" -> on.small.set(number(a, 0));
      case "small disable" -> on.small.disable();
      case "small setFrequency" -> on.small.setFrequency(integer(a, 0));
      case "small resetEncoder" -> on.small.resetEncoder();
      case "small setDistancePerTick" -> on.small.setDistancePerTick(number(a, 0));
      case "small distancePerTick" -> {
        return on.small.getDistancePerTick();
      }
      case "small encoderDistance" -> {
        return on.small.getEncoderDistance();
      }
      case "ferux voltage" -> {
        return on.ferux.getVoltageBlocking(integer(a, 0));
      }
      case "ferux cachedVoltage" -> {
        return on.ferux.getVoltage(integer(a, 0));
      }
      case "ferux cachedRaw" -> {
        return on.ferux.getRaw(integer(a, 0));
      }
      case "ferux fullScaleVolts" -> {
        return (double) on.ferux.getFullScaleVolts();
      }
      case "ferux startTelemetry" -> on.ferux.startTelemetry(Duration.ofMillis(integer(a, 0)));
      case "ferux stopTelemetry" -> on.ferux.stopTelemetry();
      case "ferux telemetryRunning" -> {
        return on.ferux.isTelemetryRunning() ? 1.0 : 0.0;
      }
      case "ferux isConnected" -> {
        return on.ferux.isConnected() ? 1.0 : 0.0;
      }
      case "ferux isOpen" -> {
        return on.ferux.isOpen() ? 1.0 : 0.0;
      }
      default -> fail("no operation " + call);
    }
    return null;
  }

  /** "absent" for a reading not read yet, else the number. */
  private static String describe(Object result) {
    if (result instanceof Reading reading) {
      return reading.isPresent() ? String.valueOf(reading.value()) : "absent";
    }
    return String.valueOf(result);
  }

  @BeforeEach
  void startFromAnEmptyBus() {
    SimCan.reset();
    SimCan.setRecording(true);
  }

  @Test
  void theTableHoldsRows() throws IOException {
    assertTrue(rows().size() >= 40, rows().size() + " rows");
  }

  @ParameterizedTest(name = "{0}")
  @MethodSource("rows")
  void behavesAsTheCppObjects(Row row) {
    final int subjectBus = stateBus(row.state());
    assumeFalse(onlyBusZero() && subjectBus != 0, "this HAL has bus 0 only");
    assumeFalse(row.state().equals("moved"), "a Java object is not moved");
    final Devices subject = new Devices();
    final Devices opened = new Devices();
    try {
      if (row.state().startsWith("open") || row.state().equals("closed")) {
        final List<String> defaults = new ArrayList<>();
        defaults.add(row.object().equals("small") ? "7" : "5");
        if (subjectBus != 0) {
          defaults.add("bus:" + subjectBus);
        }
        run(subject, row.object(), "open", defaults);
      }
      if (row.state().equals("closed")) {
        subject.close();
      }
      if (row.state().equals("refusing")) {
        SimCan.failNextInitializations(-1029, 1);
      }
      SimCan.clearSentFrames();

      final boolean opening = row.operation().startsWith("open");
      final Devices target = opening ? opened : subject;
      // An open on another bus than 0 is refused where the HAL has that one only, sending nothing.
      final Integer bus = opening ? openBus(row.arguments()) : null;
      final boolean refusedBus =
          onlyBusZero() && row.outcome().equals("ok") && bus != null && bus != 0;
      final String expectedOutcome = refusedBus ? "invalid-argument" : row.outcome();
      final String expectedNames = refusedBus ? ONLY_BUS_ZERO_REFUSAL : row.names();
      final List<String> expectedFrames = refusedBus ? List.of() : row.frames();
      String outcome = "ok";
      String message = "";
      Object result = null;
      try {
        result = run(target, row.object(), row.operation(), row.arguments());
      } catch (IllegalArgumentException e) {
        outcome = "invalid-argument";
        message = e.getMessage();
      } catch (IllegalStateException e) {
        // Java tells a refused device from a state error by nothing but the message.
        outcome = row.outcome().equals("refused") ? "refused" : "state-error";
        message = e.getMessage();
      }
      assertEquals(expectedOutcome, outcome, message);
      if (!expectedNames.equals("-")) {
        assertTrue(message.contains(expectedNames), message);
      }
      final List<String> frames =
          TestBus.describedCommandFrames().stream().map(f -> f.replace(' ', ':')).toList();
      if (!expectedFrames.equals(List.of("*"))) {
        assertEquals(expectedFrames, frames);
      }
      if (row.state().equals("refusing")) {
        final Devices again = new Devices();
        try {
          final List<String> number = List.of(row.object().equals("small") ? "7" : "5");
          assertDoesNotThrow(() -> run(again, row.object(), "open", number));
        } finally {
          again.close();
        }
      }

      if (row.then().equals("-") || !outcome.equals("ok")) {
        return;
      }
      final String[] readAndValue = row.then().split("=>", -1);
      assertEquals(2, readAndValue.length, row.then());
      final List<String> read = words(readAndValue[0]);
      if (!read.isEmpty()) {
        result = run(target, row.object(), read.get(0), read.subList(1, read.size()));
      }
      final String expected = readAndValue[1].trim();
      if (expected.equals("absent")) {
        assertEquals("absent", describe(result));
      } else {
        final double value =
            result instanceof Reading reading
                ? reading.isPresent() ? reading.value() : Double.NaN
                : (Double) result;
        assertEquals(Double.parseDouble(expected), value, describe(result));
      }
    } finally {
      opened.close();
      subject.close();
    }
  }
}
