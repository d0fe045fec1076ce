#include "Faults.h"

#include "Bus.h"

namespace brovasim::can {

void failNextSends(int32_t status, int count, int32_t bus) {
  checkBus(bus);
  withBus([=](Bus& b) { b.can[bus].faults.send = {status, count}; });
}

void failNextReceives(int32_t status, int count, int32_t bus) {
  checkBus(bus);
  withBus([=](Bus& b) { b.can[bus].faults.receive = {status, count}; });
}

void failNextInitializations(int32_t status, int count, int32_t bus) {
  checkBus(bus);
  withBus([=](Bus& b) { b.can[bus].faults.initialization = {status, count}; });
}

void throwOnNextReceives(int count, int32_t bus) {
  checkBus(bus);
  withBus([=](Bus& b) { b.can[bus].faults.receiveThrows = {count}; });
}

void throwOnNextSends(int count, int32_t bus) {
  checkBus(bus);
  withBus([=](Bus& b) { b.can[bus].faults.sendThrows = {count}; });
}

}  // namespace brovasim::can
