#include "Bus.h"

#include <stdexcept>
#include <string>

#if BROVA_HAL >= 2027
#include "wpi/hal/simulation/SimDeviceData.h"
#else
#include "hal/simulation/SimDeviceData.h"
#endif

namespace brovasim {

// Never destroyed: threads that outlive main (a robot program's keep-alive tasks) may still call
// into the bus while the process exits.
Bus& bus() {
  static Bus* const instance = new Bus;
  return *instance;
}

void checkBus(int32_t bus) {
  if (!can::isBus(bus)) {
    throw std::out_of_range("simulated CAN buses are 0.." + std::to_string(can::kBuses - 1) +
                            ", not " + std::to_string(bus));
  }
}

namespace can {

void reset() {
  withBus([](Bus& b) {
    for (CanBus& c : b.can) c = {};
    b.records = {};
    b.observers.clear();
    b.robot = {};
    b.handles = {};
  });
  HALSIM_ResetSimDeviceData();
}

}  // namespace can
}  // namespace brovasim
