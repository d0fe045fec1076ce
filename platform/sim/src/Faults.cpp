#include "Faults.h"

#include "Bus.h"

namespace brovasim::can {

void failNextSends(int32_t status, int count) {
  withBus([=](Bus& b) { b.faults.send = {status, count}; });
}

void failNextReceives(int32_t status, int count) {
  withBus([=](Bus& b) { b.faults.receive = {status, count}; });
}

void failNextInitializations(int32_t status, int count) {
  withBus([=](Bus& b) { b.faults.initialization = {status, count}; });
}

void throwOnNextReceives(int count) {
  withBus([=](Bus& b) { b.faults.receiveThrows = {count}; });
}

void throwOnNextSends(int count) {
  withBus([=](Bus& b) { b.faults.sendThrows = {count}; });
}

}  // namespace brovasim::can
