package com.quorvel.frc;

import static org.junit.jupiter.api.Assertions.assertEquals;
import static org.junit.jupiter.api.Assertions.assertFalse;
import static org.junit.jupiter.api.Assertions.assertTrue;

import com.quorvel.frc.jni.FeruxJNI;
import com.quorvel.frc.sim.SimAnalogBoard;
import org.junit.jupiter.api.Test;
import org.junit.jupiter.params.ParameterizedTest;
import org.junit.jupiter.params.provider.CsvSource;

/** The analog board object over the simulated board. */
class FeruxTest {
  @Test
  void readsAreTheRawEntryPointsReads() {
    try (SimAnalogBoard board = SimAnalogBoard.attach();
        Ferux ferux = new Ferux()) {
      final double[] inputs = {0.3, 1.024, 1.5, -0.2};
      for (int channel = 0; channel < Ferux.CHANNELS; ++channel) {
        board.setInput(channel, inputs[channel]);
      }
      assertTrue(ferux.isConnected());
      for (int channel = 0; channel < Ferux.CHANNELS; ++channel) {
        assertEquals(FeruxJNI.c_getRawValue(channel), ferux.getRawBlocking(channel));
        assertEquals((double) FeruxJNI.c_getVoltage(channel), ferux.getVoltageBlocking(channel));
      }
      assertEquals(1024, ferux.getRawBlocking(1));
      assertEquals(2.5, ferux.getVoltageBlocking(1));
      assertEquals(0, ferux.getRawBlocking(3), "below 0 V reads 0");
    }
  }

  @ParameterizedTest
  @CsvSource({"5.9, 5, 2.5", "5.0, 5, 2.5", "0.99, 0, 0.0", "0, 0, 0.0", "16777216, 16777216, 8388608"})
  @SuppressWarnings("deprecation") // Ferux(double)
  void theFullScaleVoltageIsTruncatedToWholeVolts(double fullScale, int whole, double volts) {
    try (SimAnalogBoard board = SimAnalogBoard.attach();
        Ferux ferux = new Ferux(fullScale)) {
      board.setInput(0, 1.024);
      assertEquals(whole, ferux.getFullScaleVolts());
      assertEquals(volts, ferux.getVoltageBlocking(0));
      assertEquals(1024, ferux.getRawBlocking(0));
    }
  }

  @Test
  void aMissingBoardIsNotConnectedAndReadsZero() {
    try (Ferux ferux = new Ferux(5)) {
      assertFalse(ferux.isConnected());
      assertEquals(0, ferux.getRawBlocking(0));
      assertEquals(0.0, ferux.getVoltageBlocking(0));
      assertFalse(ferux.isConnected());
    }
  }
}
