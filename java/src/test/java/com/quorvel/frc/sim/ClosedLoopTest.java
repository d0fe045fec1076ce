package com.quorvel.frc.sim;

import static org.junit.jupiter.api.Assertions.assertEquals;
import static org.junit.jupiter.api.Assertions.assertFalse;
import static org.junit.jupiter.api.Assertions.assertThrows;
import static org.junit.jupiter.api.Assertions.assertTrue;

import com.quorvel.frc.jni.BrovaQuadEncoderJNI;
import com.quorvel.frc.jni.BrovaQuadJNI;
import com.quorvel.frc.jni.BrovaSmallJNI;
import org.junit.jupiter.api.BeforeEach;
import org.junit.jupiter.api.Test;

/** The library driving simulated controllers attached from Java. */
class ClosedLoopTest {
  @BeforeEach
  void startFromAnEmptyBus() {
    SimCan.reset();
    SimCan.setRecording(true);
  }

  @Test
  void commandedSpeedMovesTheMotorAndTheEncoder() throws InterruptedException {
    try (SimController sim = SimController.attach(SimController.Model.QUAD, 5)) {
      final long quad = BrovaQuadJNI.c_BrovaQuad_create(5, 1000, false, 0);
      try {
        SimCan.setSystemActive(true);
        BrovaQuadJNI.c_BrovaQuad_setMotorSpeed(quad, 2, 0.5);
        Thread.sleep(600);
        assertTrue(sim.enabled());
        assertEquals(0.5, sim.commandedSpeed(2));
        final double rpm = BrovaQuadJNI.c_BrovaQuad_getRPM(quad, 2);
        assertTrue(rpm > 2000 && rpm < 2600, "rpm " + rpm);
        final double revolutions =
            BrovaQuadEncoderJNI.c_BrovaQuadEncoder_getEncoderDistance(quad, 2, 1.0 / 2048, 0, 0);
        assertTrue(revolutions > 5, "revolutions " + revolutions);
        assertEquals("Hardware: Brova Quad, Version: 3",
            BrovaQuadJNI.c_BrovaQuad_getHardwareVersion(quad));
      } finally {
        BrovaQuadJNI.c_BrovaQuad_destroy(quad);
      }
    }
  }

  @Test
  void withoutActiveKeepAliveTheOutputsStayOff() throws InterruptedException {
    try (SimController sim = SimController.attach(SimController.Model.SMALL, 7)) {
      final long small = BrovaSmallJNI.c_BrovaSmall_create(7, 1000, false);
      try {
        BrovaSmallJNI.c_BrovaSmall_setMotorSpeed(small, 1.0);
        Thread.sleep(300);
        assertFalse(sim.enabled());
        assertEquals(0.0, sim.rpm(0));
        assertEquals(7, BrovaSmallJNI.c_BrovaSmall_getID(small));
      } finally {
        BrovaSmallJNI.c_BrovaSmall_destroy(small);
      }
    }
  }

  @Test
  void aControllerOnAnotherBusHearsNothingOfBusZero() {
    // A fault on bus 2 leaves bus 0's initialisations alone.
    SimCan.failNextInitializations(-1029, 1, 2);
    try (SimController onZero = SimController.attach(SimController.Model.QUAD, 5);
        SimController onTwo = SimController.attach(SimController.Model.QUAD, 5, 2)) {
      final long quad = BrovaQuadJNI.c_BrovaQuad_create(5, 1000, false, 0);
      try {
        BrovaQuadJNI.c_BrovaQuad_setMotorSpeed(quad, 1, 0.25);
        assertEquals(5, BrovaQuadJNI.c_BrovaQuad_getID(quad));
        assertEquals(0.25, onZero.commandedSpeed(1));
        assertEquals(0.0, onTwo.commandedSpeed(1));
      } finally {
        BrovaQuadJNI.c_BrovaQuad_destroy(quad);
      }
    }
    final SentFrame[] sent = SimCan.sentFrames();
    assertTrue(sent.length > 0);
    for (SentFrame frame : sent) {
      assertEquals(0, frame.bus());
    }
  }

  @Test
  void deviceNumbersAndBusesOutsideTheirRangesAreRefused() {
    assertThrows(
        IllegalArgumentException.class, () -> SimController.attach(SimController.Model.QUAD, 64));
    assertThrows(
        IllegalArgumentException.class,
        () -> SimController.attach(SimController.Model.QUAD, 5, SimCan.BUSES));
    assertThrows(
        IllegalArgumentException.class, () -> SimCan.putFrame(0x020C0045, new byte[0], -1));
  }
}
