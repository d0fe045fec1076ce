// A robot program as a team builds it from the packaged artifacts alone: the public headers and
// libBrovaDriver.so. Exits 0 when the BrovaQuads on devices 5 and 6
// both answer, each with a temperature their shared telemetry read.
#include <chrono>
#include <cstdio>
#include <string>
#include <thread>

#include "BrovaDriver.hpp"

int main() {
  brova::BrovaQuad left(5);
  brova::BrovaQuad right(6);
  bool ok = true;
  for (brova::BrovaQuad* quad : {&left, &right}) {
    // A reply can miss its 10 ms pause on a loaded machine: ask again, a few times.
    std::string firmware = quad->getFirmwareVersion();
    for (int attempt = 1; attempt < 5 && firmware == "Firmware Version: [0.0.0]"; ++attempt) {
      firmware = quad->getFirmwareVersion();
    }
    quad->startTelemetry(std::chrono::milliseconds(20));
    ok = ok && firmware != "Firmware Version: [0.0.0]";
    std::printf("C++ robot: device %d: %s\n", quad->getDeviceNumber(), firmware.c_str());
  }
  std::this_thread::sleep_for(std::chrono::milliseconds(500));
  for (const brova::BrovaQuad* quad : {&left, &right}) {
    const brova::Reading temperature = quad->getTemperature();
    std::printf("C++ robot: device %d: temperature %.2f C (%s)\n", quad->getDeviceNumber(),
                temperature.value, brova::toString(temperature.state));
    ok = ok && temperature.fresh() && temperature.value > 0.0 && quad->isConnected();
  }
  return ok ? 0 : 1;
}
