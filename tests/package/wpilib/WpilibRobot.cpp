// A robot program on WPILib's own simulation HAL, built from the packaged artifacts alone: it
// initialises the HAL as every WPILib program does, registers the test responder
// (Responder.cpp) on the simulation's CAN callbacks, and reads a BrovaQuad through the C entry
// points (device 5) and a BrovaQuad and a BrovaSmall through the C++ objects (devices 6 and 7).
// The keep-alive frames must follow the simulated Driver Station's enable. Exits 0 when every
// check holds; prints each failed one.
#include <chrono>
#include <cmath>
#include <cstdio>
#include <string>
#include <thread>

#include "BrovaDriver.h"
#include "BrovaDriver.hpp"
#include "Responder.h"

namespace {

using namespace std::chrono_literals;

int failures = 0;

void check(bool ok, const std::string& what) {
  std::printf("%s %s\n", ok ? "ok  " : "FAIL", what.c_str());
  if (!ok) ++failures;
}

bool near(double value, double expected) { return std::fabs(value - expected) < 1e-9; }

// A reply can miss its pause on a loaded machine: ask a few times.
template <typename Ask>
std::string firmware(Ask ask) {
  std::string text = ask();
  for (int attempt = 1; attempt < 5 && text == "Firmware Version: [0.0.0]"; ++attempt) text = ask();
  return text;
}

// The keep-alive frames of `device` over the next `span`, after a moment to settle.
std::pair<int, int> keepAlivesOver(int device, std::chrono::milliseconds span) {
  std::this_thread::sleep_for(150ms);
  brova_wpilib_clear_keep_alives();
  std::this_thread::sleep_for(span);
  return {brova_wpilib_keep_alives(device, 1), brova_wpilib_keep_alives(device, 0)};
}

}  // namespace

int main() {
  if (brova_wpilib_start() == 0) {
    std::puts("FAIL WPILib's HAL did not initialise");
    return 1;
  }

  // The C entry points.
  const int32_t handle = c_BrovaQuad_create(5, 1000, nullptr, 0);
  check(handle != 0, "c_BrovaQuad_create(5) gives a handle");
  const std::string cFirmware = firmware([&] { return c_BrovaQuad_getFirmwareVersion(handle); });
  check(cFirmware == "Firmware Version: [3.1.5]", "C firmware of device 5: " + cFirmware);
  double cCurrent = c_BrovaQuad_getCurrent(handle, 2);
  for (int attempt = 1; attempt < 5 && cCurrent == 0.0; ++attempt) {
    cCurrent = c_BrovaQuad_getCurrent(handle, 2);
  }
  check(near(cCurrent, 2.05), "C current of device 5, motor 2: " + std::to_string(cCurrent));

  // The C++ objects, read by the shared telemetry.
  brova::BrovaQuad quad(6);
  brova::BrovaSmall small(7);
  const std::string quadFirmware = firmware([&] { return quad.getFirmwareVersion(); });
  check(quadFirmware == "Firmware Version: [3.1.6]", "C++ firmware of device 6: " + quadFirmware);
  const std::string smallFirmware = firmware([&] { return small.getFirmwareVersion(); });
  check(smallFirmware == "Firmware Version: [3.1.7]", "C++ firmware of device 7: " + smallFirmware);
  quad.startTelemetry(20ms);
  small.startTelemetry(20ms);
  std::this_thread::sleep_for(500ms);
  const brova::Reading temperature = quad.getTemperature();
  check(temperature.fresh() && near(temperature.value, 30.06),
        "C++ temperature of device 6: " + std::to_string(temperature.value) + " " +
            brova::toString(temperature.state));
  const brova::Reading current = quad.getCurrent(1);
  check(current.fresh() && near(current.value, 1.06),
        "C++ current of device 6, channel 1: " + std::to_string(current.value));
  const brova::Reading smallCurrent = small.getCurrent();
  check(smallCurrent.fresh() && near(smallCurrent.value, 7.0),
        "C++ current of device 7: " + std::to_string(smallCurrent.value));
  check(quad.isConnected() && small.isConnected(), "C++ objects connected");

  // Where the HAL's calls name a bus, an object's bus is the one WPILib's callbacks see: device 6
  // of bus 2 beside device 6 of bus 0, answered on bus 2 only.
  if (brova_wpilib_names_buses() != 0) {
    const int onZero = brova_wpilib_frames_heard(0, 6);
    brova::BrovaQuad onTwo(6, brova::CanBus{2});
    check(brova_wpilib_frames_heard(2, 6) >= 4,
          "C++ object of bus 2 configured on bus 2: " +
              std::to_string(brova_wpilib_frames_heard(2, 6)) + " frames");
    const std::string twoFirmware = firmware([&] { return onTwo.getFirmwareVersion(); });
    check(twoFirmware == "Firmware Version: [3.1.6]",
          "C++ firmware of bus 2's device 6: " + twoFirmware);
    onTwo.close();
    const int onTwoFrames = brova_wpilib_frames_heard(2, 6);
    std::this_thread::sleep_for(300ms);
    check(brova_wpilib_frames_heard(2, 6) == onTwoFrames, "nothing on bus 2 once closed");
    check(brova_wpilib_frames_heard(0, 6) > onZero, "bus 0's device 6 kept going");
    check(quad.isConnected(), "bus 0's device 6 still connected");
  }

  // The keep-alive follows the simulated Driver Station, for the C entry point's controller
  // and the objects' alike.
  for (const bool enabled : {true, false}) {
    brova_wpilib_set_enabled(enabled ? 1 : 0);
    for (const int device : {5, 6, 7}) {
      const auto [active, inactive] = keepAlivesOver(device, 400ms);
      const bool followed = enabled ? active >= 2 && inactive == 0 : inactive >= 2 && active == 0;
      check(followed, "device " + std::to_string(device) + (enabled ? " enabled" : " disabled") +
                          ": " + std::to_string(active) + " active, " + std::to_string(inactive) +
                          " inactive keep-alive frames");
    }
  }

  c_BrovaQuad_destroy(handle);
  std::printf("WPILib simulation robot (C, C++): %d failed\n", failures);
  return failures == 0 ? 0 : 1;
}
