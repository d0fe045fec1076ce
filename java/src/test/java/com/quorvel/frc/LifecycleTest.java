package com.quorvel.frc;

import static org.junit.jupiter.api.Assertions.assertArrayEquals;
import static org.junit.jupiter.api.Assertions.assertEquals;
import static org.junit.jupiter.api.Assertions.assertThrows;
import static org.junit.jupiter.api.Assertions.assertTrue;

import com.quorvel.frc.sim.SimAnalogBoard;
import com.quorvel.frc.sim.SimCan;
import java.time.Duration;
import java.util.List;
import java.util.function.Consumer;
import java.util.function.Supplier;
import java.util.stream.Stream;
import org.junit.jupiter.api.BeforeEach;
import org.junit.jupiter.api.Test;
import org.junit.jupiter.api.function.Executable;
import org.junit.jupiter.params.ParameterizedTest;
import org.junit.jupiter.params.provider.Arguments;
import org.junit.jupiter.params.provider.MethodSource;

/** Opening, closing and reopening; which calls a closed object refuses. */
class LifecycleTest {
  @BeforeEach
  void startFromAnEmptyBus() {
    SimCan.reset();
    SimCan.setRecording(true);
  }

  @Test
  void commandsKeepGoingToTheOpenDeviceAfterARefusedOpenOnItsNumber() {
    try (BrovaQuad quad = new BrovaQuad(5)) {
      assertThrows(IllegalStateException.class, () -> new BrovaSmall(5));
      SimCan.clearSentFrames();
      quad.set(1, 0.5);
      assertEquals(List.of("020C0385 0132010000000000"), TestBus.describedCommandFrames());
    }
  }

  @Test
  void closeReleasesTheHandleOnceAndAllowsAReopen() {
    SimCan.setNextHandle(40);
    final BrovaQuad quad = new BrovaQuad(5);
    quad.close();
    quad.close();
    assertArrayEquals(new int[] {40}, SimCan.cleanedHandles());
    try (BrovaQuad reopened = new BrovaQuad(12)) {
      assertEquals(12, reopened.getDeviceNumber());
      SimCan.clearSentFrames();
      reopened.disable(0);
      assertEquals(List.of("020C034C 0000000000000000"), TestBus.describedCommandFrames());
    }
    assertArrayEquals(new int[] {40, 41}, SimCan.cleanedHandles());
  }

  @Test
  void theModelsAndTheBoardOpenSideBySide() {
    try (SimAnalogBoard board = SimAnalogBoard.attach();
        BrovaQuad quad = new BrovaQuad(5);
        BrovaSmall small = new BrovaSmall(7);
        Ferux ferux = new Ferux(5)) {
      board.setInput(1, 1.024);
      assertEquals(1024, ferux.getRawBlocking(1));
      assertEquals(5, quad.getDeviceNumber());
      assertEquals(7, small.getDeviceNumber());
      assertTrue(ferux.isConnected());
    }
  }

  /** Opens and closes a device, and returns the call to make on it. */
  private interface ClosedCall {
    Executable openCloseAndCall();
  }

  private static <T> Arguments closed(
      String name, String message, Supplier<T> open, Consumer<T> close, Consumer<T> call) {
    return Arguments.of(name, message, (ClosedCall) () -> {
      final T device = open.get();
      close.accept(device);
      return () -> call.accept(device);
    });
  }

  private static Arguments quad(String name, Consumer<BrovaQuad> call) {
    return closed("BrovaQuad " + name, "BrovaQuad on device 5 is closed",
        () -> new BrovaQuad(5), BrovaQuad::close, call);
  }

  private record QuadAndEncoder(BrovaQuad quad, BrovaQuadEncoder encoder) {}

  /** An encoder view obtained before its controller was closed. */
  private static Arguments quadEncoder(String name, Consumer<BrovaQuadEncoder> call) {
    return closed("BrovaQuadEncoder " + name, "BrovaQuad on device 5 is closed", () -> {
      final BrovaQuad quad = new BrovaQuad(5);
      return new QuadAndEncoder(quad, quad.getEncoder(3));
    }, opened -> opened.quad().close(), opened -> call.accept(opened.encoder()));
  }

  private static Arguments small(String name, Consumer<BrovaSmall> call) {
    return closed("BrovaSmall " + name, "BrovaSmall on device 7 is closed",
        () -> new BrovaSmall(7), BrovaSmall::close, call);
  }

  private static Arguments ferux(String name, Consumer<Ferux> call) {
    return closed("Ferux " + name, "Ferux analog board is closed",
        () -> new Ferux(5), Ferux::close, call);
  }

  static Stream<Arguments> callsAfterClose() {
    return Stream.of(
        quad("getDeviceNumber", BrovaQuad::getDeviceNumber),
        quad("set", q -> q.set(0, 0.5)),
        quad("disable", q -> q.disable(0)),
        quad("setFrequency", q -> q.setFrequency(0, 1000)),
        quad("getFirmwareVersion", BrovaQuad::getFirmwareVersion),
        quad("getCurrent", q -> q.getCurrent(0)),
        quad("getTemperature", BrovaQuad::getTemperature),
        quad("getEncoderDistance", q -> q.getEncoderDistance(0)),
        quad("getRPMBlocking", q -> q.getRPMBlocking(0)),
        quad("getEncoderDistanceBlocking", q -> q.getEncoderDistanceBlocking(0)),
        quad("resetEncoder", q -> q.resetEncoder(0)),
        quad("getEncoder", q -> q.getEncoder(0)),
        quad("startTelemetry", q -> q.startTelemetry(Duration.ofMillis(20))),
        quad("stopTelemetry", BrovaQuad::stopTelemetry),
        quad("isTelemetryRunning", BrovaQuad::isTelemetryRunning),
        quad("isConnected", BrovaQuad::isConnected),
        quad("getSerialNumber", BrovaQuad::getSerialNumber),
        quadEncoder("setDistancePerTick", e -> e.setDistancePerTick(2)),
        quadEncoder("getDistance", BrovaQuadEncoder::getDistance),
        quadEncoder("getDistanceBlocking", BrovaQuadEncoder::getDistanceBlocking),
        quadEncoder("reset", BrovaQuadEncoder::reset),
        small("set", s -> s.set(0.5)),
        small("getCurrent", BrovaSmall::getCurrent),
        small("getCurrentBlocking", BrovaSmall::getCurrentBlocking),
        small("encoder reset", s -> s.getEncoder().reset()),
        small("startTelemetry", s -> s.startTelemetry(Duration.ofMillis(20))),
        small("getEncoderDistance", BrovaSmall::getEncoderDistance),
        small("isConnected", BrovaSmall::isConnected),
        ferux("isConnected", Ferux::isConnected),
        ferux("getVoltage", f -> f.getVoltage(0)),
        ferux("getRaw", f -> f.getRaw(0)),
        ferux("getVoltageBlocking", f -> f.getVoltageBlocking(0)),
        ferux("startTelemetry", f -> f.startTelemetry(Duration.ofMillis(10))));
  }

  @ParameterizedTest(name = "{0}")
  @MethodSource("callsAfterClose")
  void callsAfterCloseThrowNamingTheDeviceAndSendNothing(
      String name, String message, ClosedCall closed) {
    final Executable call = closed.openCloseAndCall();
    SimCan.clearSentFrames();
    assertEquals(message, assertThrows(IllegalStateException.class, call).getMessage());
    assertEquals(0, SimCan.sentFrames().length);
  }
}
