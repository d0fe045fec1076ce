// Built against the installed package: a simulated BrovaQuad on device 5 answers the driver's
// C++ object, which reads the firmware version the simulation reports and a temperature.
#include <cstdio>
#include <string>

#include "BrovaDriver.hpp"
#include "brovasim/SimController.h"

int main() {
  using brovasim::SimController;
  SimController::Options options = SimController::defaults(SimController::Model::Quad);
  options.identity.firmware = {3, 1, 4};
  auto simulated = SimController::attach(SimController::Model::Quad, 5, options);

  int failures = 0;
  {
    brova::BrovaQuad quad(5);
    quad.set(0, 0.25);
    const std::string firmware = quad.getFirmwareVersion();
    if (firmware != "Firmware Version: [3.1.4]") {
      std::printf("FAILED: firmware reads '%s'\n", firmware.c_str());
      ++failures;
    }
    const double temperature = quad.getTemperatureBlocking();
    if (!(temperature > 0.0)) {
      std::printf("FAILED: temperature reads %f\n", temperature);
      ++failures;
    }
  }
  simulated->detach();
  std::printf("%s\n", failures == 0 ? "C++ consumer: the simulated BrovaQuad answers"
                                    : "C++ consumer failed");
  return failures == 0 ? 0 : 1;
}
