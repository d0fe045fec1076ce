// brova-demo: a robot program driving a simulated BrovaQuad, BrovaSmall and Ferux board
// through the library.
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "Arguments.h"
#include "RobotProgram.h"
#include "brovasim/CandumpLog.h"
#include "brovasim/SimAnalogBoard.h"
#include "brovasim/SimCan.h"
#include "brovasim/SimController.h"

namespace {

constexpr const char* kUsage =
    "usage: brova-demo [options]\n"
    "Runs a robot program against a simulated BrovaQuad, BrovaSmall and Ferux analog board:\n"
    "prints their identity, drives a speed profile in a 20 ms loop and prints telemetry.\n"
    "\n"
    "  --seconds S      how long to drive (default 5)\n"
    "  --quad N         BrovaQuad device number, 1..63 (default 5)\n"
    "  --small N        BrovaSmall device number, 1..63 (default 7)\n"
    "  --capture FILE   write every CAN frame to FILE in candump log format\n"
    "                   (read it with brova-decode FILE)\n"
    "  -h, --help       this text\n"
    "\n"
    "The environment variable BROVA_CAN_CAPTURE=FILE captures as --capture does.\n";

}  // namespace

int main(int argc, char** argv) {
  demo::RobotSettings settings;
  std::string capture;
  const demo::ExtraOption captureOption{"--capture", [&](const char* file) { capture = file; }};
  if (const auto exit =
          demo::readCommandLine(argc, argv, "brova-demo", kUsage, settings, captureOption)) {
    return *exit;
  }

  // The simulated robot: two controllers on the CAN bus, the analog board on I2C port 1.
  using brovasim::SimController;
  auto quad = SimController::attach(SimController::Model::Quad, settings.quadDevice);
  auto small = SimController::attach(SimController::Model::Small, settings.smallDevice);
  quad->setLoad(1, 0.3);
  auto ferux = brovasim::attachAnalogBoard();
  // Pin voltages within the converter's ±2.048 V range; the program reads them scaled to 5 V.
  constexpr double kPi = 3.14159265358979323846;
  ferux->setInput(0, 0.4);
  ferux->setInputSignal(1, [](double t) { return 1.0 + 0.8 * std::sin(2 * kPi * t / 2.0); });
  ferux->setInputSignal(2, [](double t) { return std::fmod(t, 2.0) * 1.0; });
  ferux->setInputSignal(3, [](double t) { return t < 2.5 ? 0.2 : 1.8; });
  if (!capture.empty() && !brovasim::capture::start(capture)) {
    std::fprintf(stderr, "brova-demo: cannot write %s\n", capture.c_str());
    return 2;
  }

  std::printf(
      "BrovaDriver demo: BrovaQuad on device %d, BrovaSmall on device %d, Ferux on I2C port 1\n",
      settings.quadDevice, settings.smallDevice);
  const int status =
      demo::runRobot(settings, [](bool enabled) { brovasim::can::setSystemActive(enabled); });
  brovasim::capture::stop();
  if (!capture.empty()) std::printf("CAN capture written to %s\n", capture.c_str());
  return status;
}
