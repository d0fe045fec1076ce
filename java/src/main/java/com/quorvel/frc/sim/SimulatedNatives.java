package com.quorvel.frc.sim;

import com.quorvel.frc.Ferux;
import com.quorvel.frc.jni.BrovaDriverLibrary;

/**
 * The natives of the simulation classes ({@link BrovaQuadSim}, {@link BrovaSmallSim}, {@link
 * FeruxSim}), in libBrovaDriver.so, and the checks of their arguments that come first, in the C++
 * classes' words. Each native takes the object itself, a BrovaQuad or BrovaSmall as {@code
 * controller}, and holds an operation of it for the call, as the object's own calls do: a close
 * waits for the call, and on a closed object the call throws the {@link IllegalStateException}
 * that names it ("BrovaQuad on device 5 is closed"). A failure in the library comes back as the
 * Java exception of its kind.
 */
final class SimulatedNatives {
  static {
    BrovaDriverLibrary.load();
  }

  /** A controller's values of a channel, in the library's order. */
  static final int OUTPUT = 0;

  static final int CURRENT = 1;
  static final int RPM = 2;
  static final int ENCODER = 3;
  static final int LOAD = 4;

  private SimulatedNatives() {}

  // ---- The controllers' simulated values ----

  /** Value {@code quantity} (one of the constants above) of channel {@code channel}. */
  static native double value(Object controller, int channel, int quantity);

  /** Sets it; a load is clamped to 0..1. */
  static native void setValue(Object controller, int channel, int quantity, double value);

  static native boolean enabled(Object controller);

  static native double temperature(Object controller);

  static native void setTemperature(Object controller, double celsius);

  // ---- The board's inputs ----

  static native double voltage(Ferux board, int input);

  static native void setVoltage(Ferux board, int input, double volts);

  // ---- The checks ----

  /** Throws unless {@code object}, a controller or the board, is open. */
  static void checkOpen(boolean open, Object object) {
    if (!open) {
      throw new IllegalStateException(object + " is closed");
    }
  }

  /** A channel of a controller of {@code channels} channels: {@code model} names it. */
  static void checkChannel(String model, int channel, int channels) {
    checkRange(model + " channel", channel, channels);
  }

  static void checkInput(int input) {
    checkRange("analog channel", input, Ferux.CHANNELS);
  }

  static double checkNumber(double value) {
    if (Double.isNaN(value)) {
      throw new IllegalArgumentException("a simulated value must be a number");
    }
    return value;
  }

  private static void checkRange(String what, int number, int count) {
    if (number < 0 || number >= count) {
      throw new IllegalArgumentException(what + " " + number + " is outside 0.." + (count - 1));
    }
  }
}
