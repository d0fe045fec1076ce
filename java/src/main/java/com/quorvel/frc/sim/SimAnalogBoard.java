package com.quorvel.frc.sim;

/**
 * A simulated Ferux converter attached to the simulated I2C port 1 at address 0x48. Input
 * voltages are at the converter's pins; closing detaches the board.
 */
public final class SimAnalogBoard implements AutoCloseable {
  static {
    SimLibrary.load();
  }

  private long board;

  private SimAnalogBoard(long board) {
    this.board = board;
  }

  /** Attaches a new board, replacing any board at that address. */
  public static SimAnalogBoard attach() {
    return new SimAnalogBoard(attachBoard());
  }

  /** Sets input {@code channel} (0..3) to {@code volts} against ground. */
  public synchronized void setInput(int channel, double volts) {
    if (board != 0) {
      setInput(board, channel, volts);
    }
  }

  /** A board that is not present fails every transfer. */
  public synchronized void setPresent(boolean present) {
    if (board != 0) {
      setPresent(board, present);
    }
  }

  @Override
  public synchronized void close() {
    if (board != 0) {
      detach(board);
      board = 0;
    }
  }

  private static native long attachBoard();

  private static native void setInput(long board, int channel, double volts);

  private static native void setPresent(long board, boolean present);

  private static native void detach(long board);
}
