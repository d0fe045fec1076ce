#include "Bus.h"

namespace brovasim {

// Never destroyed: threads that outlive main (a robot program's keep-alive tasks) may still call
// into the bus while the process exits.
Bus& bus() {
  static Bus* const instance = new Bus;
  return *instance;
}

namespace can {

void reset() {
  withBus([](Bus& b) {
    b.frames.clear();
    b.faults = {};
    b.records = {};
    b.observers.clear();
    b.robot = {};
    b.handles = {};
  });
}

}  // namespace can
}  // namespace brovasim
