package com.quorvel.frc;

import java.util.function.LongConsumer;

/**
 * What the two controller models share: the CAN device number, the process-wide slot that lets
 * one controller of a model be open at a time, and the library's handle, opened on construction
 * and destroyed on close. A model says how the library opens and destroys it.
 */
abstract class Controller extends TelemetryDevice {
  /** Opens a controller in the library: its handle, or 0 when the library could not open it. */
  interface Opener {
    long open(int deviceNumber, int frequencyHz);
  }

  final long handle;
  private final int deviceNumber;
  private final DeviceSlot slot;
  private final Object slotToken;
  private final LongConsumer destroy;

  /**
   * Checks the arguments, claims the model's slot and opens the controller, giving the slot back
   * when opening fails, so that a failed open leaves nothing taken.
   */
  Controller(
      String model,
      int deviceNumber,
      int frequencyHz,
      DeviceSlot slot,
      QueryGate queries,
      Opener opener,
      LongConsumer destroy) {
    super(model + " on device " + deviceNumber, queries, model + "-" + deviceNumber + "-telemetry");
    Checks.deviceNumber(deviceNumber);
    Checks.frequency(frequencyHz);
    this.deviceNumber = deviceNumber;
    this.slot = slot;
    this.destroy = destroy;
    slotToken = slot.claim(toString());
    try {
      handle = opener.open(deviceNumber, frequencyHz);
      if (handle == 0) {
        throw new IllegalStateException(
            lifecycle.name() + " could not be opened (the library printed the reason)");
      }
    } catch (RuntimeException | Error e) {
      slot.release(slotToken);
      throw e;
    }
  }

  /** The CAN device number given when opening (no bus traffic). */
  public int getDeviceNumber() {
    lifecycle.checkOpen();
    return deviceNumber;
  }

  /** Throws {@link IllegalStateException} once the controller is closed; for its encoders. */
  void checkOpen() {
    lifecycle.checkOpen();
  }

  @Override
  final void release() {
    destroy.accept(handle);
    slot.release(slotToken);
  }
}
