package com.quorvel.frc;

import static org.junit.jupiter.api.Assertions.assertEquals;
import static org.junit.jupiter.api.Assertions.assertFalse;

import com.quorvel.frc.jni.BrovaQuadEncoderJNI;
import com.quorvel.frc.jni.BrovaQuadJNI;
import com.quorvel.frc.jni.BrovaSmallEncoderJNI;
import com.quorvel.frc.jni.BrovaSmallJNI;
import com.quorvel.frc.sim.SimCan;
import java.util.List;
import java.util.function.Consumer;
import java.util.function.Function;
import java.util.function.LongConsumer;
import java.util.function.LongFunction;
import java.util.function.LongSupplier;
import java.util.function.Supplier;
import java.util.stream.IntStream;
import java.util.stream.Stream;
import org.junit.jupiter.api.BeforeEach;
import org.junit.jupiter.api.Test;
import org.junit.jupiter.params.ParameterizedTest;
import org.junit.jupiter.params.provider.Arguments;
import org.junit.jupiter.params.provider.MethodSource;

/**
 * Every command and query of the objects sends the same frames, byte for byte, and returns the
 * same value as the raw JNI entry point it stands for.
 */
class BusEquivalenceTest {
  private static final int QUAD = 5;
  private static final int SMALL = 7;

  @BeforeEach
  void startFromAnEmptyBus() {
    SimCan.reset();
    SimCan.setRecording(true);
  }

  /** A fixed answer to each query of both controllers, put on the bus when its request is sent. */
  private static void putReplies() {
    for (int device : new int[] {QUAD, SMALL}) {
      SimCan.answer(0x020C03C0 + device, TestBus.MOTOR_CURRENT_REPLY + device, TestBus.bytes(1, 0xFF));
      SimCan.answer(0x020C0640 + device, TestBus.RPM_REPLY + device, TestBus.bytes(0xE8, 0x03));
      SimCan.answer(0x020C05C0 + device, TestBus.TEMPERATURE_REPLY + device,
          TestBus.bytes(0x1A, 0x32));
      SimCan.answer(0x020C0440 + device, TestBus.ENCODER_COUNT_REPLY + device,
          TestBus.bytes(0xF0, 0xD8, 0xFF, 0xFF));
      SimCan.answer(0x020C0080 + device, 0x020C00C0 + device, TestBus.bytes(1, 4, 2));
      SimCan.answer(0x020C0100 + device, 0x020C0140 + device, TestBus.bytes(1, 3));
      SimCan.answer(0x020C0180 + device, 0x020C01C0 + device,
          TestBus.bytes(0x78, 0x56, 0x34, 0x12));
      SimCan.answer(0x020C0180 + device, 0x020C0200 + device,
          TestBus.bytes(0xEF, 0xCD, 0xAB, 0x00));
      SimCan.answer(0x020C0180 + device, 0x020C0240 + device, TestBus.bytes(0x01, 0, 0, 0));
    }
  }

  private record Run(List<String> frames, Object result) {}

  static Stream<Arguments> quadOperations() {
    return Stream.of(
        quad("set", q -> q.set(1, 0.5), h -> BrovaQuadJNI.c_BrovaQuad_setMotorSpeed(h, 1, 0.5)),
        quad("set truncates", q -> q.set(3, -0.299),
            h -> BrovaQuadJNI.c_BrovaQuad_setMotorSpeed(h, 3, -0.299)),
        // The objects clamp a speed beyond full scale; the entry points pass it on.
        quad("set beyond full clamps", q -> q.set(2, 1.7),
            h -> BrovaQuadJNI.c_BrovaQuad_setMotorSpeed(h, 2, 1.0)),
        quad("set far beyond full clamps", q -> q.set(0, -1e9),
            h -> BrovaQuadJNI.c_BrovaQuad_setMotorSpeed(h, 0, -1.0)),
        quad("disable", q -> q.disable(2), h -> BrovaQuadJNI.c_BrovaQuad_disableMotor(h, 2)),
        quad("setFrequency", q -> q.setFrequency(3, 20000),
            h -> BrovaQuadJNI.c_BrovaQuad_configureMotor(h, 20000, 3)),
        quad("resetEncoder", q -> q.resetEncoder(1),
            h -> BrovaQuadEncoderJNI.c_BrovaQuadEncoder_resetEncoder(h, 1)),
        quad("encoder reset", q -> q.getEncoder(2).reset(),
            h -> BrovaQuadEncoderJNI.c_BrovaQuadEncoder_resetEncoder(h, 2)),
        quadQuery("getCurrentBlocking", q -> q.getCurrentBlocking(1),
            h -> BrovaQuadJNI.c_BrovaQuad_getCurrent(h, 1)),
        quadQuery("getRPMBlocking", q -> q.getRPMBlocking(3),
            h -> BrovaQuadJNI.c_BrovaQuad_getRPM(h, 3)),
        quadQuery("getTemperatureBlocking", BrovaQuad::getTemperatureBlocking,
            BrovaQuadJNI::c_BrovaQuad_getControllerTemp),
        quadQuery("getEncoderDistanceBlocking", q -> q.getEncoderDistanceBlocking(2),
            h -> BrovaQuadEncoderJNI.c_BrovaQuadEncoder_getEncoderDistance(h, 2, 1.0, 0, 0)),
        quadQuery("encoder getDistanceBlocking", q -> {
          q.getEncoder(3).setDistancePerTick(-0.25);
          return q.getEncoder(3).getDistanceBlocking();
        }, h -> BrovaQuadEncoderJNI.c_BrovaQuadEncoder_getEncoderDistance(h, 3, -0.25, 0, 0)),
        quadQuery("getFirmwareVersion", BrovaQuad::getFirmwareVersion,
            BrovaQuadJNI::c_BrovaQuad_getFirmwareVersion),
        quadQuery("getHardwareVersion", BrovaQuad::getHardwareVersion,
            BrovaQuadJNI::c_BrovaQuad_getHardwareVersion),
        quadQuery("getSerialNumber", BrovaQuad::getSerialNumber,
            BrovaQuadJNI::c_BrovaQuad_getSerialNumber));
  }

  private static Arguments quad(String name, Consumer<BrovaQuad> object, LongConsumer raw) {
    return quadQuery(name, q -> {
      object.accept(q);
      return null;
    }, h -> {
      raw.accept(h);
      return null;
    });
  }

  private static Arguments quadQuery(
      String name, Function<BrovaQuad, Object> object, LongFunction<Object> raw) {
    return Arguments.of(name, object, raw);
  }

  @ParameterizedTest(name = "{0}")
  @MethodSource("quadOperations")
  void quadOperationsMatchTheRawEntryPoints(
      String name, Function<BrovaQuad, Object> object, LongFunction<Object> raw) {
    assertSameBusAndResult(
        () -> new BrovaQuad(QUAD, 1000), BrovaQuad::close, object,
        () -> BrovaQuadJNI.c_BrovaQuad_create(QUAD, 1000, false, 0),
        BrovaQuadJNI::c_BrovaQuad_destroy, raw);
  }

  /**
   * Runs an operation through an object and through the raw entry points, each on a freshly
   * opened controller, and compares the frames sent and the results.
   */
  private static <T> void assertSameBusAndResult(
      Supplier<T> open, Consumer<T> close, Function<T, Object> object,
      LongSupplier create, LongConsumer destroy, LongFunction<Object> raw) {
    final T device = open.get();
    final Run viaObject;
    try {
      SimCan.clearSentFrames();
      putReplies();
      final Object result = object.apply(device);
      viaObject = new Run(TestBus.describedCommandFrames(), result);
    } finally {
      close.accept(device);
    }
    final long handle = create.getAsLong();
    final Run viaRaw;
    try {
      SimCan.clearSentFrames();
      putReplies();
      final Object result = raw.apply(handle);
      viaRaw = new Run(TestBus.describedCommandFrames(), result);
    } finally {
      destroy.accept(handle);
    }
    assertFalse(viaRaw.frames().isEmpty());
    assertEquals(viaRaw, viaObject);
  }

  static Stream<Arguments> smallOperations() {
    return Stream.of(
        small("set", s -> s.set(0.5), h -> BrovaSmallJNI.c_BrovaSmall_setMotorSpeed(h, 0.5)),
        small("set beyond full clamps", s -> s.set(-2.1),
            h -> BrovaSmallJNI.c_BrovaSmall_setMotorSpeed(h, -1.0)),
        small("disable", BrovaSmall::disable, BrovaSmallJNI::c_BrovaSmall_disableMotor),
        small("setFrequency", s -> s.setFrequency(19999),
            h -> BrovaSmallJNI.c_BrovaSmall_configureMotor(h, 19999)),
        small("resetEncoder", BrovaSmall::resetEncoder,
            BrovaSmallEncoderJNI::c_BrovaSmallEncoder_resetEncoder),
        smallQuery("getCurrentBlocking", BrovaSmall::getCurrentBlocking,
            BrovaSmallJNI::c_BrovaSmall_getCurrent),
        smallQuery("encoder getDistanceBlocking", s -> {
          s.getEncoder().setDistancePerTick(0.5);
          return s.getEncoderDistanceBlocking();
        }, h -> BrovaSmallEncoderJNI.c_BrovaSmallEncoder_getEncoderDistance(h, 0.5, 0, 0)),
        smallQuery("getHardwareVersion", BrovaSmall::getHardwareVersion,
            BrovaSmallJNI::c_BrovaSmall_getHardwareVersion));
  }

  private static Arguments small(String name, Consumer<BrovaSmall> object, LongConsumer raw) {
    return smallQuery(name, s -> {
      object.accept(s);
      return null;
    }, h -> {
      raw.accept(h);
      return null;
    });
  }

  private static Arguments smallQuery(
      String name, Function<BrovaSmall, Object> object, LongFunction<Object> raw) {
    return Arguments.of(name, object, raw);
  }

  @ParameterizedTest(name = "{0}")
  @MethodSource("smallOperations")
  void smallOperationsMatchTheRawEntryPoints(
      String name, Function<BrovaSmall, Object> object, LongFunction<Object> raw) {
    assertSameBusAndResult(
        () -> new BrovaSmall(SMALL, 1000), BrovaSmall::close, object,
        () -> BrovaSmallJNI.c_BrovaSmall_create(SMALL, 1000, false),
        BrovaSmallJNI::c_BrovaSmall_destroy, raw);
  }

  @Test
  void openingAQuadConfiguresEveryChannelAsCreateAndConfigureMotorDo() {
    new BrovaQuad(QUAD, 1234).close();
    final List<String> viaObject = TestBus.describedCommandFrames();
    SimCan.clearSentFrames();
    final long handle = BrovaQuadJNI.c_BrovaQuad_create(QUAD, 1234, false, 0);
    for (int motor = 1; motor < 4; ++motor) {
      BrovaQuadJNI.c_BrovaQuad_configureMotor(handle, 1234, motor);
    }
    BrovaQuadJNI.c_BrovaQuad_destroy(handle);
    assertEquals(TestBus.describedCommandFrames(), viaObject);
  }

  @Test
  void theDefaultFrequencyIs15000HzOnEveryChannel() {
    new BrovaQuad(QUAD).close();
    new BrovaSmall(SMALL).close();
    final List<String> expected =
        Stream.concat(
                IntStream.range(0, 4)
                    .mapToObj(motor -> String.format("020C0285 0%d983a0000000000", motor)),
                Stream.of("020C0287 00983a0000000000"))
            .toList();
    assertEquals(expected, TestBus.describedCommandFrames());
  }
}
