package com.quorvel.frc.jni;

import static org.junit.jupiter.api.Assertions.assertArrayEquals;
import static org.junit.jupiter.api.Assertions.assertEquals;
import static org.junit.jupiter.api.Assertions.assertNotEquals;

import com.quorvel.frc.sim.SentFrame;
import com.quorvel.frc.sim.SimAnalogBoard;
import com.quorvel.frc.sim.SimCan;
import java.util.ArrayList;
import java.util.Arrays;
import java.util.List;
import org.junit.jupiter.api.AfterEach;
import org.junit.jupiter.api.BeforeEach;
import org.junit.jupiter.api.Test;
import org.junit.jupiter.params.ParameterizedTest;
import org.junit.jupiter.params.provider.CsvSource;
import org.junit.jupiter.params.provider.ValueSource;

/** The native methods of the five classes, on a real JVM against the simulated platform. */
class JniEntryPointsTest {
  private static final int CONFIGURE_MOTOR = 0x020C0280;
  private static final int DISABLE_MOTOR = 0x020C0340;
  private static final int SET_MOTOR_SPEED = 0x020C0380;
  private static final int KEEP_ALIVE_INACTIVE = 0x020C0500;

  private final List<Long> quads = new ArrayList<>();
  private final List<Long> smalls = new ArrayList<>();

  @BeforeEach
  void startFromAnEmptyBus() {
    SimCan.reset();
    SimCan.setRecording(true);
  }

  @AfterEach
  void closeControllers() {
    quads.forEach(BrovaQuadJNI::c_BrovaQuad_destroy);
    smalls.forEach(BrovaSmallJNI::c_BrovaSmall_destroy);
  }

  private long openQuad(int device) {
    final long handle = BrovaQuadJNI.c_BrovaQuad_create(device, 1000, true, 0);
    quads.add(handle);
    return handle;
  }

  private long openSmall(int device) {
    final long handle = BrovaSmallJNI.c_BrovaSmall_create(device, 1000, false);
    smalls.add(handle);
    return handle;
  }

  /** Frames other than keep-alive frames, which arrive on their own schedule. */
  private static SentFrame[] commandFrames() {
    return Arrays.stream(SimCan.sentFrames())
        .filter(f -> (f.id() & ~0x7F) != KEEP_ALIVE_INACTIVE)
        .toArray(SentFrame[]::new);
  }

  private static byte[] bytes(int... values) {
    final byte[] result = new byte[values.length];
    for (int i = 0; i < values.length; ++i) {
      result[i] = (byte) values[i];
    }
    return result;
  }

  @Test
  void createReadsTheLow16BitsOfTheDeviceNumber() {
    final long handle = openSmall(65537);
    assertNotEquals(0L, handle);
    final SentFrame[] configure = SimCan.sentFrames(CONFIGURE_MOTOR + 1);
    assertEquals(1, configure.length);
    assertArrayEquals(bytes(0, 0xE8, 0x03, 0, 0, 0, 0, 0), configure[0].data());
  }

  @ParameterizedTest
  @CsvSource({"65, 1000", "0, 1000", "-1, 1000", "5, 40000", "5, -1", "5, 20001"})
  void refusedCreateReturnsZeroAndSendsNothing(int device, int frequency) {
    assertEquals(0L, BrovaSmallJNI.c_BrovaSmall_create(device, frequency, true));
    assertEquals(0L, BrovaQuadJNI.c_BrovaQuad_create(device, frequency, true, 1));
    assertEquals(0, SimCan.sentFrames().length);
  }

  @Test
  void aNegativePlatformHandleComesBackNegative() {
    SimCan.setNextHandle(-7);
    assertEquals(-7L, openQuad(5));
  }

  @Test
  void destroyPassesTheLow32BitsOfTheHandle() {
    SimCan.setNextHandle(5);
    final long handle = BrovaQuadJNI.c_BrovaQuad_create(5, 1000, false, 0);
    assertEquals(5L, handle);
    BrovaQuadJNI.c_BrovaQuad_destroy((1L << 32) + 5);
    assertArrayEquals(new int[] {5}, SimCan.cleanedHandles());
  }

  @Test
  void motorNumbersAreTheirLow8Bits() {
    final long quad = openQuad(5);
    SimCan.clearSentFrames();
    BrovaQuadJNI.c_BrovaQuad_disableMotor(quad, 260);
    BrovaQuadJNI.c_BrovaQuad_setMotorSpeed(quad, -255, 0.5);
    final SentFrame[] frames = commandFrames();
    assertEquals(2, frames.length);
    assertEquals(DISABLE_MOTOR + 5, frames[0].id());
    assertArrayEquals(bytes(4, 0, 0, 0, 0, 0, 0, 0), frames[0].data());
    assertEquals(SET_MOTOR_SPEED + 5, frames[1].id());
    assertArrayEquals(bytes(1, 50, 1, 0, 0, 0, 0, 0), frames[1].data());
  }

  @Test
  void configureMotorPassesTheFrequencyUnchanged() {
    final long small = openSmall(7);
    SimCan.clearSentFrames();
    BrovaSmallJNI.c_BrovaSmall_configureMotor(small, 70000);
    final SentFrame[] frames = commandFrames();
    assertEquals(1, frames.length);
    assertArrayEquals(bytes(0, 0x70, 0x11, 0, 0, 0, 0, 0), frames[0].data());
  }

  @Test
  void operationsWithoutBehaviourReturnNeutralValuesAndSendNothing() {
    final long quad = openQuad(5);
    final long small = openSmall(7);
    SimCan.clearSentFrames();
    assertEquals(0.0, BrovaQuadJNI.c_BrovaQuad_getLimitSwitch(quad, 1, true));
    assertEquals(0.0, BrovaQuadJNI.c_BrovaQuad_getLimitSwitch(quad, 1, false));
    assertEquals(0.0, BrovaSmallJNI.c_BrovaSmall_getLimitSwitch(small, true));
    assertEquals(0, BrovaQuadJNI.c_BrovaQuad_getFaults(quad, 2));
    assertEquals(false, BrovaSmallJNI.c_BrovaSmall_enableSoftLimit(small));
    assertEquals(0.0, BrovaQuadEncoderJNI.c_BrovaQuadEncoder_getRaw(quad, 1));
    assertEquals(0.0, BrovaSmallEncoderJNI.c_BrovaSmallEncoder_getRPM(small));
    assertEquals(false, BrovaSmallEncoderJNI.c_BrovaSmallEncoder_getDirection(small));
    BrovaSmallEncoderJNI.c_BrovaSmallEncoder_setEncoder(small, 2.5, 1.0);
    BrovaQuadEncoderJNI.c_BrovaQuadEncoder_setReverseDirection(quad, 1);
    assertEquals(0, commandFrames().length);
  }

  @Test
  void encoderDistanceIgnoresTheCountAndResultArguments() {
    final long small = openSmall(7);
    final long quad = openQuad(5);
    for (double count : new double[] {0.0, 7.9, -3.0, Double.NaN, 1e300}) {
      SimCan.putFrame(0x020C0480 + 7, bytes(0x10, 0x27, 0, 0, 9, 9, 9, 9));
      assertEquals(
          5000.0,
          BrovaSmallEncoderJNI.c_BrovaSmallEncoder_getEncoderDistance(small, 0.5, count, 42.0));
    }
    for (int count : new int[] {0, Integer.MAX_VALUE, Integer.MIN_VALUE}) {
      SimCan.putFrame(0x020C0480 + 5, bytes(0xFF, 0xFF, 0xFF, 0xFF));
      assertEquals(
          -2.5,
          BrovaQuadEncoderJNI.c_BrovaQuadEncoder_getEncoderDistance(quad, 3, 2.5, count, 0.0));
    }
  }

  @Test
  void identityTextsAreTheLibrarysTexts() {
    final long quad = openQuad(5);
    SimCan.putFrame(0x020C00C0 + 5, bytes(1, 2, 10));
    SimCan.putFrame(0x020C0140 + 5, bytes(1, 3));
    SimCan.putFrame(0x020C01C0 + 5, bytes(0x78, 0x56, 0x34, 0x12));
    SimCan.putFrame(0x020C0200 + 5, bytes(0xEF, 0xCD, 0xAB, 0x00));
    SimCan.putFrame(0x020C0240 + 5, bytes(0x01, 0, 0, 0));
    assertEquals("Firmware Version: [1.2.10]", BrovaQuadJNI.c_BrovaQuad_getFirmwareVersion(quad));
    assertEquals(
        "Hardware: Brova Quad, Version: 3", BrovaQuadJNI.c_BrovaQuad_getHardwareVersion(quad));
    assertEquals("12345678-00ABCDEF-00000001", BrovaQuadJNI.c_BrovaQuad_getSerialNumber(quad));
  }

  @Test
  void telemetryDecodesThroughJni() {
    final long quad = openQuad(5);
    final long small = openSmall(7);
    SimCan.putFrame(0x020C0400 + 5, bytes(1, 0xFF));
    SimCan.putFrame(0x020C0400 + 7, bytes(2, 0x32));
    SimCan.putFrame(0x020C0680 + 5, bytes(0xE8, 0x03));
    SimCan.putFrame(0x020C0040 + 5, bytes(5));
    assertEquals(3.55, BrovaQuadJNI.c_BrovaQuad_getCurrent(quad, 1), 1e-12);
    assertEquals(52.0, BrovaSmallJNI.c_BrovaSmall_getCurrent(small));
    assertEquals(1000.0, BrovaQuadJNI.c_BrovaQuad_getRPM(quad, 0));
    assertEquals(5, BrovaQuadJNI.c_BrovaQuad_getID(quad));
  }

  @ParameterizedTest
  @CsvSource({"3.9, 1.5", "5.0, 2.5", "-0.5, 0.0", "0.99, 0.0", "NaN, 0.0"})
  void fullScaleVoltageIsTruncatedToWholeVolts(float fullScale, float volts) {
    try (SimAnalogBoard board = SimAnalogBoard.attach()) {
      board.setInput(0, 1.024);
      assertEquals(true, FeruxJNI.c_initializeI2C(fullScale));
      assertEquals(volts, FeruxJNI.c_getVoltage(0));
      assertEquals(1024, FeruxJNI.c_getRawValue(256));
      FeruxJNI.c_closeI2C();
    }
  }

  @ParameterizedTest
  @ValueSource(ints = {4, 255, -1})
  void channelsAbove3ReadZero(int channel) {
    try (SimAnalogBoard board = SimAnalogBoard.attach()) {
      board.setInput(3, 1.0);
      FeruxJNI.c_initializeI2C(5.0f);
      assertEquals(0, FeruxJNI.c_getRawValue(channel));
      assertEquals(0.0f, FeruxJNI.c_getVoltage(channel));
      FeruxJNI.c_closeI2C();
    }
  }

  @Test
  void aMissingBoardIsReportedAsNotConnected() {
    assertEquals(false, FeruxJNI.c_initializeI2C(5.0f));
    FeruxJNI.c_closeI2C();
  }

  @Test
  void extremeJavaValuesConvertToDefinedArguments() {
    final long quad = openQuad(5);
    assertEquals(0L, BrovaQuadJNI.c_BrovaQuad_create(Integer.MIN_VALUE, 1000, true, 0));
    assertEquals(0L, BrovaQuadJNI.c_BrovaQuad_create(Integer.MAX_VALUE, Integer.MAX_VALUE, true, 0));
    SimCan.clearSentFrames();
    for (long handle : new long[] {Long.MIN_VALUE, Long.MAX_VALUE, -1L, quad}) {
      BrovaQuadJNI.c_BrovaQuad_setMotorSpeed(handle, Integer.MAX_VALUE, Double.POSITIVE_INFINITY);
      BrovaQuadJNI.c_BrovaQuad_setMotorSpeed(handle, Integer.MIN_VALUE, Double.NaN);
      BrovaQuadJNI.c_BrovaQuad_setMotorSpeed(handle, 3, -Double.MAX_VALUE);
    }
    final SentFrame[] frames = SimCan.sentFrames(SET_MOTOR_SPEED + 5);
    assertEquals(12, frames.length);
    for (int i = 0; i < frames.length; i += 3) {
      assertArrayEquals(bytes(255, 255, 1, 0, 0, 0, 0, 0), frames[i].data());
      assertArrayEquals(bytes(0, 0, 0, 0, 0, 0, 0, 0), frames[i + 1].data());
      assertArrayEquals(bytes(3, 255, 0, 1, 0, 0, 0, 0), frames[i + 2].data());
    }
    BrovaQuadJNI.c_BrovaQuad_destroy(Long.MIN_VALUE);
    BrovaQuadJNI.c_BrovaQuad_destroy(Long.MAX_VALUE);
    assertArrayEquals(new int[] {0, -1}, SimCan.cleanedHandles());
  }

  @ParameterizedTest
  @CsvSource({"3.4028235E38, 2147483647", "-3.4028235E38, -2147483648", "Infinity, 2147483647",
      "-Infinity, -2147483648", "2147483648.0, 2147483647", "-2147483904.0, -2147483648"})
  void fullScaleVoltagesBeyondTheIntRangeSaturate(float fullScale, double wholeVolts) {
    try (SimAnalogBoard board = SimAnalogBoard.attach()) {
      board.setInput(0, 1.024);
      FeruxJNI.c_initializeI2C(fullScale);
      assertEquals(1024 * (float) (wholeVolts / 2048.0), FeruxJNI.c_getVoltage(0));
      FeruxJNI.c_closeI2C();
    }
  }
}
