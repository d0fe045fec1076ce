// brova-demo-wpilib: the demo robot program on WPILib's own simulation HAL, as a team's desktop
// simulation runs it: the library's device models answer its controllers and board. The
// simulation's side is what a team's simulation code or WPILib's simulation GUI does: it enables
// the simulated Driver Station, and sets the drivetrain's loads and the board's input voltages on
// their simulated devices once they appear.
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>

#include "Arguments.h"
#include "RobotProgram.h"

#if __has_include("wpi/hal/HAL.h")
#include "wpi/hal/HAL.h"
#include "wpi/hal/SimDevice.h"
#include "wpi/hal/simulation/DriverStationData.h"
#include "wpi/hal/simulation/SimDeviceData.h"
#else
#include "hal/HAL.h"
#include "hal/SimDevice.h"
#include "hal/simulation/DriverStationData.h"
#include "hal/simulation/SimDeviceData.h"
#endif

namespace {

constexpr const char* kUsage =
    "usage: brova-demo-wpilib [options]\n"
    "Runs the demo robot program on WPILib's simulation HAL: a drivetrain of two BrovaQuads, an\n"
    "intake on a BrovaSmall and a Ferux analog board, answered by the library's device models\n"
    "(libBrovaDriverSim.so). Prints their identity, drives a speed profile in a 20 ms loop and\n"
    "prints each device's readings, their state and age, a few times a second.\n"
    "\n"
    "  --seconds S      how long to drive (default 5)\n"
    "  --left N         left BrovaQuad device number, 1..63 (default 5)\n"
    "  --right N        right BrovaQuad device number, 1..63 (default 6)\n"
    "  --small N        BrovaSmall device number, 1..63 (default 7)\n"
    "  --load L         the drivetrain wheels' load, 0..0.9 (default 0.3; the right side 0.05 "
    "more)\n"
    "  -h, --help       this text\n";

// Sets a simulated value, in its own type; false while there is no such device or value.
bool setValue(const std::string& device, const char* name, double number) {
  const HAL_SimDeviceHandle d = HALSIM_GetSimDeviceHandle(device.c_str());
  const HAL_SimValueHandle v = d == 0 ? 0 : HALSIM_GetSimValueHandle(d, name);
  if (v == 0) return false;
  HAL_Value value{};
  value.type = HAL_DOUBLE;
  value.data.v_double = number;
  HAL_SetSimValue(v, &value);
  return true;
}

void setEnabled(bool enabled) {
  HALSIM_SetDriverStationEnabled(enabled);
  HALSIM_NotifyDriverStationNewData();
}

}  // namespace

int main(int argc, char** argv) {
  demo::RobotSettings settings;
  double wheelLoad = 0.3;
  const demo::ExtraOption loadOption{
      "--load", [&](const char* value) {
        char* end = nullptr;
        const double load = std::strtod(value, &end);
        if (end == value || *end != '\0' || !(load >= 0.0) || load > 0.9) return false;
        wheelLoad = load;
        return true;
      }};
  if (const auto exit =
          demo::readCommandLine(argc, argv, "brova-demo-wpilib", kUsage, settings, loadOption)) {
    return *exit;
  }
  if (!HAL_Initialize(500, 0)) {
    std::fprintf(stderr, "brova-demo-wpilib: WPILib's HAL did not initialise\n");
    return 1;
  }
  HALSIM_SetDriverStationDsAttached(true);
  setEnabled(false);

  // The simulation's side: once the devices appear, the wheels carry a load (the right side a
  // little more) and the board's inputs follow a few signals within the converter's ±2.048 V.
  std::atomic<bool> stopping{false};
  std::thread simulation([&] {
    const std::string left = "BrovaQuad[" + std::to_string(settings.leftDevice) + "]";
    const std::string right = "BrovaQuad[" + std::to_string(settings.rightDevice) + "]";
    bool loaded = false;
    const auto start = std::chrono::steady_clock::now();
    while (!stopping) {
      if (!loaded) {
        loaded = true;
        for (int motor = 0; motor < 4; ++motor) {
          const std::string load = "load " + std::to_string(motor);
          loaded = setValue(left, load.c_str(), wheelLoad) &&
                   setValue(right, load.c_str(), wheelLoad + 0.05) && loaded;
        }
      }
      const double t =
          std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
      setValue("Ferux[1]", "voltage 0", 0.4);
      setValue("Ferux[1]", "voltage 1", 1.0 + 0.8 * std::sin(2 * 3.14159265358979323846 * t / 2.0));
      setValue("Ferux[1]", "voltage 2", std::fmod(t, 2.0));
      setValue("Ferux[1]", "voltage 3", t < 2.5 ? 0.2 : 1.8);
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
  });

  std::printf(
      "BrovaDriver demo on WPILib's simulation HAL: BrovaQuads on devices %d (left) and %d "
      "(right), BrovaSmall on device %d, Ferux on I2C port 1\n",
      settings.leftDevice, settings.rightDevice, settings.smallDevice);
  const int status = demo::runRobot(settings, setEnabled);
  stopping = true;
  simulation.join();
  return status;
}
