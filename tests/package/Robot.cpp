// A robot program as a team builds it from the packaged artifacts alone: the public headers and
// libBrovaDriver.so. Exits 0 when the BrovaQuad on device 5 answers and its telemetry is read.
#include <chrono>
#include <cstdio>
#include <string>
#include <thread>

#include "BrovaDriver.hpp"

int main() {
  brova::BrovaQuad quad(5);
  const std::string firmware = quad.getFirmwareVersion();
  quad.startTelemetry(std::chrono::milliseconds(20));
  std::this_thread::sleep_for(std::chrono::milliseconds(500));
  const brova::Reading temperature = quad.getTemperature();
  std::printf("C++ robot: %s, temperature %.2f C\n", firmware.c_str(), temperature.value);
  const bool answered = firmware != "Firmware Version: [0.0.0]";
  return answered && temperature.present() && temperature.value > 0.0 ? 0 : 1;
}
