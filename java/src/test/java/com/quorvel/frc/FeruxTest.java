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
        Ferux ferux = new Ferux(5.0)) {
      final double[] inputs = {0.3, 1.024, 1.5, -0.2};
      for (int channel = 0; channel < Ferux.CHANNELS; ++channel) {
        board.setInput(channel, inputs[channel]);
      }
      assertTrue(ferux.isConnected());
      for (int channel = 0; channel < Ferux.CHANNELS; ++channel) {
        assertEquals(FeruxJNI.c_getRawValue(channel), ferux.getRaw(channel));
        assertEquals((double) FeruxJNI.c_getVoltage(channel), ferux.getVoltage(channel));
      }
      assertEquals(1024, ferux.getRaw(1));
      assertEquals(2.5, ferux.getVoltage(1));
      assertEquals(0, ferux.getRaw(3), "below 0 V reads 0");
    }
  }

  @ParameterizedTest
  @CsvSource({"5.9, 5, 2.5", "5.0, 5, 2.5", "0.99, 0, 0.0", "0, 0, 0.0", "16777216, 16777216, 8388608"})
  void theFullScaleVoltageIsTruncatedToWholeVolts(double fullScale, int whole, double volts) {
    try (SimAnalogBoard board = SimAnalogBoard.attach();
        Ferux ferux = new Ferux(fullScale)) {
      board.setInput(0, 1.024);
      assertEquals(whole, ferux.getFullScaleVolts());
      assertEquals(volts, ferux.getVoltage(0));
      assertEquals(1024, ferux.getRaw(0));
    }
  }

  @Test
  void aMissingBoardIsNotConnectedAndReadsZero() {
    try (Ferux ferux = new Ferux(5.0)) {
      assertFalse(ferux.isConnected());
      assertEquals(0, ferux.getRaw(0));
      assertEquals(0.0, ferux.getVoltage(0));
    }
  }
}
