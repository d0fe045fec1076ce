package com.quorvel.frc;

/**
 * The one open object of a model. The library addresses every operation of a model to the
 * device of its most recent create, so a second open object would silently take over the
 * first one's operations; it is refused instead.
 */
final class DeviceSlot {
  private Object owner;
  private String ownerName;

  /**
   * Claims the slot for an object called {@code name}.
   *
   * @return the token that {@link #release} takes
   * @throws IllegalStateException naming the object that holds the slot
   */
  synchronized Object claim(String name) {
    if (owner != null) {
      throw new IllegalStateException(
          ownerName
              + " is already open; close it first (one at a time: the library sends every"
              + " operation of the model to the device opened last)");
    }
    owner = new Object();
    ownerName = name;
    return owner;
  }

  /** Frees the slot if {@code token} still holds it. */
  synchronized void release(Object token) {
    if (owner == token) {
      owner = null;
      ownerName = null;
    }
  }
}
