// Built against the installed package: simulated BrovaQuads on devices 5 and 6, each reporting a
// firmware version of its own, answer two of the driver's C++ objects open at once; each object
// reads its own controller's version and a temperature.
#include <cstdio>
#include <string>

#include "BrovaDriver.hpp"
#include "brovasim/SimController.h"

namespace {

int failures = 0;

// A reply can miss its 10 ms pause on a loaded machine; a robot program asks again, and so does
// this one, a few times.
template <typename Ask, typename Good>
auto askUntil(Ask ask, Good good) {
  auto answer = ask();
  for (int attempt = 1; attempt < 5 && !good(answer); ++attempt) answer = ask();
  return answer;
}

void expect(bool ok, const std::string& what) {
  if (!ok) {
    std::printf("FAILED: %s\n", what.c_str());
    ++failures;
  }
}

}  // namespace

int main() {
  using brovasim::SimController;
  SimController::Options left = SimController::defaults(SimController::Model::Quad);
  left.identity.firmware = {3, 1, 4};
  SimController::Options right = left;
  right.identity.firmware = {2, 7, 1};
  auto simulatedLeft = SimController::attach(SimController::Model::Quad, 5, left);
  auto simulatedRight = SimController::attach(SimController::Model::Quad, 6, right);

  {
    brova::BrovaQuad leftQuad(5);
    brova::BrovaQuad rightQuad(6);
    leftQuad.set(0, 0.25);
    rightQuad.set(0, -0.25);
    const auto answered = [](const std::string& text) {
      return text != "Firmware Version: [0.0.0]";
    };
    const std::string leftFirmware =
        askUntil([&] { return leftQuad.getFirmwareVersion(); }, answered);
    const std::string rightFirmware =
        askUntil([&] { return rightQuad.getFirmwareVersion(); }, answered);
    expect(leftFirmware == "Firmware Version: [3.1.4]", "device 5 firmware reads " + leftFirmware);
    expect(rightFirmware == "Firmware Version: [2.7.1]",
           "device 6 firmware reads " + rightFirmware);
    for (const brova::BrovaQuad* quad : {&leftQuad, &rightQuad}) {
      const double temperature = askUntil([&] { return quad->getTemperatureBlocking(); },
                                          [](double t) { return t > 0.0; });
      expect(temperature > 0.0, "device " + std::to_string(quad->getDeviceNumber()) +
                                    " temperature reads " + std::to_string(temperature));
    }
  }
  simulatedLeft->detach();
  simulatedRight->detach();
  std::printf("%s\n", failures == 0 ? "C++ consumer: two simulated BrovaQuads answer"
                                    : "C++ consumer failed");
  return failures == 0 ? 0 : 1;
}
