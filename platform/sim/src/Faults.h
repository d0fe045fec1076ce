// The faults injected into one simulated bus's HAL functions (control: brovasim/SimCan.h).
#pragma once

#include <cstdint>

namespace brovasim {

struct InjectedStatus {
  int32_t status = 0;
  int remaining = 0;

  // Takes one injected status if any is left.
  bool take(int32_t& out) {
    if (remaining <= 0) return false;
    --remaining;
    out = status;
    return true;
  }
};

struct InjectedThrows {
  int remaining = 0;

  // Whether this call throws; counts it if so.
  bool take() {
    if (remaining <= 0) return false;
    --remaining;
    return true;
  }
};

struct Faults {
  InjectedStatus send;
  InjectedStatus receive;
  InjectedStatus initialization;
  InjectedThrows sendThrows;
  InjectedThrows receiveThrows;
};

}  // namespace brovasim
