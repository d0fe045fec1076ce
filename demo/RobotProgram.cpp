// Uses the library's public C++ header only, as a team's robot program does.
#include "RobotProgram.h"

#include <array>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <exception>
#include <string>
#include <thread>

#include "BrovaDriver.hpp"

namespace demo {

namespace {

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

constexpr auto kLoopPeriod = 20ms;
constexpr int kLoopsPerPrint = 15;  // a telemetry table about three times a second
constexpr int kQuadChannels = brova::BrovaQuad::kChannels;
// A 10 cm wheel circumference over a 2048-count encoder.
constexpr double kMetresPerTick = 0.1 / 2048;
constexpr double kPi = 3.14159265358979323846;

// The speed each output is commanded at `t` seconds into a run of `length` seconds.
struct Profile {
  std::array<double, kQuadChannels> quad{};
  double small = 0.0;
};

Profile profileAt(double t, double length) {
  const double half = length / 2;
  Profile p;
  p.quad[0] = t < half ? t / half : (length - t) / half;  // ramp up, then down
  p.quad[1] = 0.5;                                        // steady
  p.quad[2] = 0.8 * std::sin(2 * kPi * t / length);       // one slow wave
  p.quad[3] = t < length / 5 ? 0.0 : -0.6;                // a step in reverse
  p.small = t < half ? 0.3 : -0.3;
  return p;
}

void printIdentity(const char* model, int device, const std::string& firmware,
                   const std::string& hardware, const std::string& serial) {
  std::printf("%-10s (device %d): %s | %s | serial %s\n", model, device, firmware.c_str(),
              hardware.c_str(), serial.c_str());
}

// A reading in a fixed width; "--" until the telemetry thread has read it once.
std::string show(const brova::Reading& reading, int width, int decimals) {
  char text[32];
  if (reading.present()) {
    std::snprintf(text, sizeof text, "%*.*f", width, decimals, reading.value);
  } else {
    std::snprintf(text, sizeof text, "%*s", width, "--");
  }
  return text;
}

// One table from the latest readings: nothing here waits for a controller.
void printTelemetry(double t, const Profile& p, const brova::BrovaQuad& quad,
                    const brova::BrovaSmall& small, const brova::Ferux& ferux) {
  std::string table;
  char line[160];
  std::snprintf(line, sizeof line, "t=%5.2f s   BrovaQuad temp %s C\n", t,
                show(quad.getTemperature(), 5, 2).c_str());
  table += line;
  for (int motor = 0; motor < kQuadChannels; ++motor) {
    std::snprintf(
        line, sizeof line, "  quad ch%d  cmd %+.2f  current %s A  rpm %s  distance %s m\n", motor,
        p.quad[motor], show(quad.getCurrent(motor), 6, 2).c_str(),
        show(quad.getRPM(motor), 5, 0).c_str(), show(quad.getEncoderDistance(motor), 7, 3).c_str());
    table += line;
  }
  std::snprintf(
      line, sizeof line, "  small     cmd %+.2f  current %s A             distance %s m\n", p.small,
      show(small.getCurrent(), 6, 2).c_str(), show(small.getEncoderDistance(), 7, 3).c_str());
  table += line;
  if (ferux.isConnected()) {
    std::snprintf(line, sizeof line, "  ferux     %s V  %s V  %s V  %s V\n",
                  show(ferux.getVoltage(0), 5, 2).c_str(), show(ferux.getVoltage(1), 5, 2).c_str(),
                  show(ferux.getVoltage(2), 5, 2).c_str(), show(ferux.getVoltage(3), 5, 2).c_str());
    table += line;
  }
  std::fputs(table.c_str(), stdout);
  std::fflush(stdout);
}

int drive(const RobotSettings& settings, const EnableSwitch& enable) {
  brova::BrovaQuad quad(settings.quadDevice);
  brova::BrovaSmall small(settings.smallDevice);
  brova::Ferux ferux(5);
  printIdentity("BrovaQuad", settings.quadDevice, quad.getFirmwareVersion(),
                quad.getHardwareVersion(), quad.getSerialNumber());
  printIdentity("BrovaSmall", settings.smallDevice, small.getFirmwareVersion(),
                small.getHardwareVersion(), small.getSerialNumber());
  for (int encoder = 0; encoder < kQuadChannels; ++encoder) {
    quad.setDistancePerTick(encoder, kMetresPerTick);
  }
  small.setDistancePerTick(kMetresPerTick);
  quad.startTelemetry(50ms);
  small.startTelemetry(50ms);
  if (ferux.isConnected()) ferux.startTelemetry(50ms);

  std::printf("Robot enabled: driving for %.1f s\n", settings.seconds);
  enable(true);
  const auto start = Clock::now();
  auto next = start;
  for (int loop = 0;; ++loop) {
    const double t = std::chrono::duration<double>(Clock::now() - start).count();
    if (t >= settings.seconds) break;
    const Profile p = profileAt(t, settings.seconds);
    for (int motor = 0; motor < kQuadChannels; ++motor) quad.set(motor, p.quad[motor]);
    small.set(p.small);
    if (loop % kLoopsPerPrint == 0) printTelemetry(t, p, quad, small, ferux);
    next += kLoopPeriod;
    std::this_thread::sleep_until(next);
  }
  for (int motor = 0; motor < kQuadChannels; ++motor) quad.disable(motor);
  small.disable();
  enable(false);
  std::printf("Robot disabled\n");
  return 0;  // the destructors stop the telemetry threads and close everything
}

}  // namespace

int runRobot(const RobotSettings& settings, const EnableSwitch& enable) {
  try {
    return drive(settings, enable);
  } catch (const std::exception& e) {
    std::printf("Robot program stopped: %s\n", e.what());
    return 1;
  }
}

}  // namespace demo
