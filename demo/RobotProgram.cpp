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
constexpr auto kTelemetryPeriod = 20ms;  // every loop sees readings at most one loop old
constexpr int kLoopsPerPrint = 15;       // the readings about three times a second
constexpr int kQuadChannels = brova::BrovaQuad::kChannels;
// A 10 cm wheel circumference over a 2048-count encoder.
constexpr double kMetresPerTick = 0.1 / 2048;
constexpr double kPi = 3.14159265358979323846;

// What the drivetrain and the intake are commanded `t` seconds into a run of `length` seconds:
// forward with a ramp up and down, a slow weave from side to side, the intake in then out.
struct Profile {
  double left = 0.0;
  double right = 0.0;
  double intake = 0.0;
};

Profile profileAt(double t, double length) {
  const double half = length / 2;
  const double forward = 0.6 * (t < half ? t / half : (length - t) / half);
  const double turn = 0.3 * std::sin(2 * kPi * t / length);
  return {forward + turn, forward - turn, t < half ? 0.3 : -0.3};
}

void printIdentity(const char* model, int device, const std::string& firmware,
                   const std::string& hardware, const std::string& serial) {
  std::printf("%-10s (device %d): %s | %s | serial %s\n", model, device, firmware.c_str(),
              hardware.c_str(), serial.c_str());
}

// A reading in a fixed width, with its state and, once read, its age: "  2.10 A fresh 14 ms",
// "    -- A not read".
std::string show(const brova::Reading& reading, int width, int decimals, const char* unit) {
  char text[64];
  if (reading.present()) {
    const auto age = std::chrono::duration_cast<std::chrono::milliseconds>(reading.age());
    std::snprintf(text, sizeof text, "%*.*f %s %-7s %4lld ms", width, decimals, reading.value, unit,
                  brova::toString(reading.state), static_cast<long long>(age.count()));
  } else {
    std::snprintf(text, sizeof text, "%*s %s %-15s", width, "--", unit,
                  brova::toString(reading.state));
  }
  return text;
}

// Whether the controller answers; before its first answer, that it is still awaited.
const char* connection(bool connected, const brova::Reading& first) {
  if (connected) return "answering";
  return first.state == brova::ReadingState::NotRead ? "no reply yet" : "not answering";
}

// One side of the drivetrain: the controller, then each motor's readings.
void showSide(std::string& table, const char* side, const brova::BrovaQuad& quad, double command) {
  char line[200];
  std::snprintf(line, sizeof line, "  %-5s BrovaQuad %2d  %-13s  cmd %+.2f  temperature %s\n", side,
                quad.getDeviceNumber(), connection(quad.isConnected(), quad.getCurrent(0)), command,
                show(quad.getTemperature(), 6, 2, "C").c_str());
  table += line;
  for (int motor = 0; motor < kQuadChannels; ++motor) {
    std::snprintf(line, sizeof line, "    ch%d  current %s  rpm %s  distance %s\n", motor,
                  show(quad.getCurrent(motor), 6, 2, "A").c_str(),
                  show(quad.getRPM(motor), 5, 0, "rpm").c_str(),
                  show(quad.getEncoderDistance(motor), 7, 3, "m").c_str());
    table += line;
  }
}

// One table from the latest readings: nothing here waits for a controller.
void printReadings(double t, const Profile& p, const brova::BrovaQuad& left,
                   const brova::BrovaQuad& right, const brova::BrovaSmall& intake,
                   const brova::Ferux& ferux) {
  std::string table;
  char line[200];
  std::snprintf(line, sizeof line, "t=%5.2f s\n", t);
  table += line;
  showSide(table, "left", left, p.left);
  showSide(table, "right", right, p.right);
  std::snprintf(line, sizeof line,
                "  intake BrovaSmall %2d %-13s  cmd %+.2f  current %s  distance %s\n",
                intake.getDeviceNumber(), connection(intake.isConnected(), intake.getCurrent()),
                p.intake, show(intake.getCurrent(), 6, 2, "A").c_str(),
                show(intake.getEncoderDistance(), 7, 3, "m").c_str());
  table += line;
  if (ferux.isConnected()) {
    for (int channel = 0; channel < brova::Ferux::kChannels; ++channel) {
      std::snprintf(line, sizeof line, "  ferux  in%d  %s\n", channel,
                    show(ferux.getVoltage(channel), 5, 2, "V").c_str());
      table += line;
    }
  } else {
    table += "  ferux  not answering\n";
  }
  std::fputs(table.c_str(), stdout);
  std::fflush(stdout);
}

void setSide(brova::BrovaQuad& quad, double speed) {
  for (int motor = 0; motor < kQuadChannels; ++motor) quad.set(motor, speed);
}

int drive(const RobotSettings& settings, const EnableSwitch& enable) {
  brova::BrovaQuad left(settings.leftDevice);
  brova::BrovaQuad right(settings.rightDevice);
  brova::BrovaSmall intake(settings.smallDevice);
  brova::Ferux ferux(5);
  for (const brova::BrovaQuad* quad : {&left, &right}) {
    printIdentity("BrovaQuad", quad->getDeviceNumber(), quad->getFirmwareVersion(),
                  quad->getHardwareVersion(), quad->getSerialNumber());
  }
  printIdentity("BrovaSmall", settings.smallDevice, intake.getFirmwareVersion(),
                intake.getHardwareVersion(), intake.getSerialNumber());
  for (brova::BrovaQuad* quad : {&left, &right}) {
    for (int encoder = 0; encoder < kQuadChannels; ++encoder) {
      quad->setDistancePerTick(encoder, kMetresPerTick);
    }
    quad->startTelemetry(kTelemetryPeriod);
  }
  intake.setDistancePerTick(kMetresPerTick);
  intake.startTelemetry(kTelemetryPeriod);
  if (ferux.isConnected()) ferux.startTelemetry(kTelemetryPeriod);

  std::printf("Robot enabled: driving for %.1f s\n", settings.seconds);
  enable(true);
  const auto start = Clock::now();
  auto next = start;
  for (int loop = 0;; ++loop) {
    const double t = std::chrono::duration<double>(Clock::now() - start).count();
    if (t >= settings.seconds) break;
    const Profile p = profileAt(t, settings.seconds);
    setSide(left, p.left);
    setSide(right, p.right);
    intake.set(p.intake);
    if (loop % kLoopsPerPrint == 0) printReadings(t, p, left, right, intake, ferux);
    next += kLoopPeriod;
    std::this_thread::sleep_until(next);
  }
  for (brova::BrovaQuad* quad : {&left, &right}) {
    for (int motor = 0; motor < kQuadChannels; ++motor) quad->disable(motor);
  }
  intake.disable();
  enable(false);
  std::printf("Robot disabled\n");
  return 0;  // the destructors stop the telemetry and close everything
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
