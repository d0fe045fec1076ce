// A robot program written in C++ against the public include folder alone, linked against
// libBrovaDriver.so and the platform only: the C entry points (including the identity texts that
// only C++ callers receive), two C++ controller objects and the Ferux board, open together. They
// are one driver: the process maps one driver library, and the objects share its one keep-alive
// thread and one telemetry thread. No controller answers on this bus, so queries read zero. Exits
// 0 when every result is the one the library defines.
#include <chrono>
#include <cstdio>
#include <fstream>
#include <set>
#include <stdexcept>
#include <string>

#include "BrovaDriver.h"
#include "BrovaDriver.hpp"
#include "support/Threads.h"

namespace {

int failures = 0;

void expect(bool ok, const char* what) {
  if (!ok) {
    std::printf("FAILED: %s\n", what);
    ++failures;
  }
}

// The names of the driver libraries mapped into this process.
std::set<std::string> driverLibraries() {
  std::set<std::string> found;
  std::ifstream maps("/proc/self/maps");
  for (std::string line; std::getline(maps, line);) {
    const std::string file = line.substr(line.find_last_of('/') + 1);
    if (file.starts_with("libBrovaDriver")) found.insert(file);
  }
  return found;
}

}  // namespace

int main() {
  const int32_t quad = c_BrovaQuad_create(5, 1000, nullptr, 0);
  const int32_t small = c_BrovaSmall_create(7, 1000, nullptr);
  expect(quad != 0 && small != 0, "both controllers open");

  const std::string firmware = c_BrovaQuad_getFirmwareVersion(quad);
  expect(firmware == "Firmware Version: [0.0.0]", "missing firmware reply reads 0.0.0");
  expect(c_BrovaQuad_getFirmwareVersion(quad) == firmware, "a second call gives an equal text");
  expect(c_BrovaQuad_getHardwareVersion(quad) == "No Hardware Found!", "quad hardware text");
  expect(c_BrovaSmall_getHardwareVersion(small) == "Hardware: Brova Small, Version: 0",
         "small hardware text");
  expect(c_BrovaSmall_getSerialNumber(small) == "00000000-00000000-00000000", "serial text");

  c_BrovaQuad_setMotorSpeed(quad, 0, 1.0);
  expect(c_BrovaQuad_getRPM(quad, 0) == 0.0, "missing rpm reads 0");
  expect(c_getVoltage(0) == 0.0f, "reading before initialisation is 0 V");

  {
    brova::Ferux board;
    brova::BrovaQuad quadObject(8);
    brova::BrovaQuad otherQuad(9);
    quadObject.set(1, 0.5);
    otherQuad.set(1, -0.5);
    expect(quadObject.getDeviceNumber() == 8 && otherQuad.getDeviceNumber() == 9,
           "two BrovaQuad objects open at once, beside the C entry points and the board");
    bool refused = false;
    try {
      brova::BrovaSmall sameNumber(9);
    } catch (const std::logic_error&) {
      refused = true;
    }
    expect(refused, "a second object on an open device number is refused");
    quadObject.resetEncoder(2);
    const brova::Reading reset = quadObject.getEncoderDistance(2);
    expect(reset.present() && reset.value == 0.0, "a reset encoder's distance reads 0 at once");
    expect(!quadObject.getCurrent(2).present(), "a quantity never read is not present");

    quadObject.startTelemetry(std::chrono::milliseconds(20));
    otherQuad.startTelemetry(std::chrono::milliseconds(20));
    expect(brova::testing::threadsNamed("brova-devalive") == 1,
           "one keep-alive thread for both objects");
    expect(brova::testing::threadsNamed("brova-telemetry") == 1,
           "one telemetry thread for both objects");
    expect(driverLibraries() == std::set<std::string>{"libBrovaDriver.so"},
           "the process maps one driver library, libBrovaDriver.so");
  }
  c_BrovaQuad_destroy(quad);
  c_BrovaSmall_destroy(small);
  std::printf("%s\n", failures == 0 ? "C++ robot program: all results as defined"
                                    : "C++ robot program failed");
  return failures == 0 ? 0 : 1;
}
