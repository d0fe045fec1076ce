package com.quorvel.frc;

/**
 * The one open object of a device the process has one of (the analog board): a second is
 * refused, naming the open one.
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
      throw new IllegalStateException(ownerName + " is already open; close it first");
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
