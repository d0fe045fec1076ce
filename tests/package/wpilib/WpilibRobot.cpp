// A robot program on WPILib's own simulation HAL, built from the packaged artifacts alone, with
// no simulation code of its own: it initialises the HAL as every WPILib program does and enables
// the simulated Driver Station (Harness.cpp); the library's device models answer. It reads a
// BrovaQuad through the C entry points (device 5), and a BrovaQuad, a BrovaSmall and the Ferux
// board through the C++ objects (devices 6 and 7) with their telemetry; finds them among the
// simulated devices; checks that outputs follow set() and stop when the robot is disabled, that a
// value set with HAL_SetSimValue shows in the next reading, and runs the simulation objects'
// table of cases (PhysicsCases.h). Exits 0 when every check holds; prints each failed one.
#include <chrono>
#include <cmath>
#include <cstdio>
#include <functional>
#include <string>
#include <thread>

#include "BrovaDriver.h"
#include "BrovaDriver.hpp"
#include "Harness.h"
#include "PhysicsCases.h"

namespace {

using namespace std::chrono_literals;

int failures = 0;

void check(bool ok, const std::string& what) {
  std::printf("%s %s\n", ok ? "ok  " : "FAIL", what.c_str());
  if (!ok) ++failures;
}

// Waits up to five seconds for `holds`.
bool eventually(const std::function<bool()>& holds) {
  const auto until = std::chrono::steady_clock::now() + 5s;
  while (!holds()) {
    if (std::chrono::steady_clock::now() > until) return false;
    std::this_thread::sleep_for(10ms);
  }
  return true;
}

// Waits as eventually does, then checks, described as things stand once the wait is over.
void checkEventually(const std::function<bool()>& holds, const std::function<std::string()>& what) {
  const bool held = eventually(holds);
  check(held, what());
}

std::string devices(const char* prefix) {
  std::string names(4096, '\0');
  brova_wpilib_devices(prefix, names.data(), static_cast<int>(names.size()));
  return names.c_str();
}

std::string values(const char* device) {
  std::string names(4096, '\0');
  brova_wpilib_values(device, names.data(), static_cast<int>(names.size()));
  return names.c_str();
}

double value(const char* device, const char* name) { return brova_wpilib_value(device, name); }

}  // namespace

int main() {
  if (brova_wpilib_start() == 0) {
    std::puts("FAIL WPILib's HAL did not initialise");
    return 1;
  }

  // The C entry points: the model answers every query.
  const int32_t handle = c_BrovaQuad_create(5, 1000, nullptr, 0);
  check(handle != 0, "c_BrovaQuad_create(5) gives a handle");
  const std::string cFirmware = c_BrovaQuad_getFirmwareVersion(handle);
  check(cFirmware == "Firmware Version: [1.4.2]", "C firmware of device 5: " + cFirmware);

  brova::BrovaQuad quad(6);
  brova::BrovaSmall small(7);
  brova::Ferux board;
  check(quad.getFirmwareVersion() == "Firmware Version: [1.4.2]", "C++ firmware of device 6");
  check(small.getFirmwareVersion() == "Firmware Version: [1.2.0]", "C++ firmware of device 7");

  // Each open device is a simulated device, with its values.
  const std::string brova = devices("Brova");
  for (const char* name : {"BrovaQuad[5]\n", "BrovaQuad[6]\n", "BrovaSmall[7]\n"}) {
    check(brova.find(name) != std::string::npos, std::string("simulated device ") + name);
  }
  check(devices("Ferux") == "Ferux[1]\n", "simulated device Ferux[1]: " + devices("Ferux"));
  check(values("BrovaSmall[7]") ==
            "output 0\ncurrent 0\nrpm 0\nencoder 0\nload 0\ntemperature\nenabled\n",
        "values of BrovaSmall[7]: " + values("BrovaSmall[7]"));
  check(values("BrovaQuad[6]").find("load 3\ntemperature\nenabled\n") != std::string::npos,
        "values of BrovaQuad[6] end with channel 3's, the temperature and the enable");
  check(values("Ferux[1]") == "voltage 0\nvoltage 1\nvoltage 2\nvoltage 3\n",
        "values of Ferux[1]: " + values("Ferux[1]"));

  quad.startTelemetry(20ms);
  small.startTelemetry(20ms);
  board.startTelemetry(20ms);
  check(eventually([&] { return quad.getTemperature().fresh() && small.getCurrent().fresh(); }),
        "the telemetry reads fresh readings");
  check(quad.isConnected() && small.isConnected() && board.isConnected(), "everything connected");

  // Outputs follow set() while the robot is enabled, and stop when it is disabled.
  check(value("BrovaQuad[6]", "enabled") == 0.0, "disabled at first");
  brova_wpilib_set_enabled(1);
  quad.set(0, 0.5);
  c_BrovaQuad_setMotorSpeed(handle, 1, -0.75);
  check(eventually([&] { return value("BrovaQuad[6]", "output 0") == 0.5; }),
        "the object's set drives output 0 of BrovaQuad[6]");
  check(eventually([&] { return value("BrovaQuad[5]", "output 1") == -0.75; }),
        "the C entry point's set drives output 1 of BrovaQuad[5]");
  checkEventually(
      [&] { return quad.getRPM(0).fresh() && quad.getRPM(0).value > 1000.0; },
      [&] { return "the driven motor turns: " + std::to_string(quad.getRPM(0).value); });
  brova_wpilib_set_enabled(0);
  check(eventually([&] {
          return value("BrovaQuad[6]", "output 0") == 0.0 &&
                 value("BrovaQuad[6]", "enabled") == 0.0;
        }),
        "disabling the robot stops the outputs");
  checkEventually(
      [&] { return quad.getRPM(0).fresh() && quad.getRPM(0).value < 50.0; },
      [&] { return "the motor coasts to rest: " + std::to_string(quad.getRPM(0).value); });

  // A value set with HAL_SetSimValue shows in the next reading.
  check(brova_wpilib_set_value("BrovaQuad[6]", "current 1", 12.5) == 1, "current 1 is settable");
  checkEventually([&] { return quad.getCurrent(1).fresh() && quad.getCurrent(1).value == 12.5; },
                  [&] {
                    return "HAL_SetSimValue's 12.5 A reads as channel 1's current: " +
                           std::to_string(quad.getCurrent(1).value);
                  });
  check(brova_wpilib_set_value("Ferux[1]", "voltage 3", 0.5) == 1, "voltage 3 is settable");
  checkEventually([&] { return board.getRaw(3).fresh() && board.getRaw(3).value == 500.0; },
                  [&] {
                    return "HAL_SetSimValue's 0.5 V reads as input 3: " +
                           std::to_string(board.getRaw(3).value);
                  });

  // The simulation objects' table, with the robot enabled.
  brova_wpilib_set_enabled(1);
  brova::sim::BrovaQuadSim quadSim(quad);
  brova::sim::BrovaSmallSim smallSim(small);
  brova::sim::FeruxSim boardSim(board);
  brova::physics_cases::Devices simulated{quad, small, board, quadSim, smallSim, boardSim};
  brova::physics_cases::run(simulated, [](const std::string& name) { check(false, name); });
  for (const std::string& missed : brova::physics_cases::unrefused(simulated)) {
    check(false, "not refused: " + missed);
  }

  // Where the HAL's calls name a bus, a device of another bus is a simulated device of its own.
  if (brova_wpilib_names_buses() != 0) {
    brova::BrovaQuad onTwo(6, brova::CanBus{2});
    check(devices("BrovaQuad[6,2]") == "BrovaQuad[6,2]\n", "simulated device BrovaQuad[6,2]");
    check(onTwo.getFirmwareVersion() == "Firmware Version: [1.4.2]", "bus 2's device 6 answers");
  }

  c_BrovaQuad_destroy(handle);
  check(devices("BrovaQuad[5]").empty(), "a destroyed controller leaves the simulated devices");
  std::printf("WPILib simulation robot (C, C++): %d failed\n", failures);
  return failures == 0 ? 0 : 1;
}
