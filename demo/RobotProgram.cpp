// Uses the library's public header only, as a team's robot program does.
#include "RobotProgram.h"

#include <array>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <mutex>
#include <string>
#include <thread>

#include "BrovaDriver.h"

namespace demo {

namespace {

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

constexpr auto kLoopPeriod = 20ms;
constexpr int16_t kFrequency = 15000;
constexpr int kQuadChannels = 4;
// A 10 cm wheel circumference over a 2048-count encoder.
constexpr double kMetresPerTick = 0.1 / 2048;
constexpr int32_t kFeruxFullScale = 5;
constexpr double kPi = 3.14159265358979323846;

// The speed each output is commanded at `t` seconds into the run of `length` seconds.
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

std::string signedSpeed(double speed) {
  char text[16];
  std::snprintf(text, sizeof text, "%+.2f", speed);
  return text;
}

class Robot {
 public:
  explicit Robot(const RobotSettings& settings) : settings_(settings) {}

  bool open() {
    bool flag = false;
    quad_ = c_BrovaQuad_create(static_cast<int16_t>(settings_.quadDevice), kFrequency, &flag, 0);
    small_ = c_BrovaSmall_create(static_cast<int16_t>(settings_.smallDevice), kFrequency, &flag);
    if (quad_ == 0 || small_ == 0) return false;
    for (uint8_t motor = 1; motor < kQuadChannels; ++motor) {
      c_BrovaQuad_configureMotor(quad_, kFrequency, motor);
    }
    feruxPresent_ = c_initializeI2C(kFeruxFullScale);
    return true;
  }

  void printIdentity() {
    // One query after the other, in reading order.
    const std::string quadFirmware = c_BrovaQuad_getFirmwareVersion(quad_);
    const std::string quadHardware = c_BrovaQuad_getHardwareVersion(quad_);
    const std::string quadSerial = c_BrovaQuad_getSerialNumber(quad_);
    std::printf("BrovaQuad  (device %d): %s | %s | serial %s\n", settings_.quadDevice,
                quadFirmware.c_str(), quadHardware.c_str(), quadSerial.c_str());
    const std::string smallFirmware = c_BrovaSmall_getFirmwareVersion(small_);
    const std::string smallHardware = c_BrovaSmall_getHardwareVersion(small_);
    const std::string smallSerial = c_BrovaSmall_getSerialNumber(small_);
    std::printf("BrovaSmall (device %d): %s | %s | serial %s\n", settings_.smallDevice,
                smallFirmware.c_str(), smallHardware.c_str(), smallSerial.c_str());
  }

  // The 20 ms control loop. Commands never wait; telemetry runs on its own thread because
  // every query waits for its controller's reply.
  void drive() {
    std::atomic<bool> running = true;
    started_ = Clock::now();
    std::thread telemetry([&] {
      while (running) printTelemetry();
    });
    const auto start = started_;
    auto next = start;
    for (;;) {
      const double t = std::chrono::duration<double>(Clock::now() - start).count();
      if (t >= settings_.seconds) break;
      const Profile p = profileAt(t, settings_.seconds);
      for (uint8_t motor = 0; motor < kQuadChannels; ++motor) {
        c_BrovaQuad_setMotorSpeed(quad_, motor, p.quad[motor]);
      }
      c_BrovaSmall_setMotorSpeed(small_, p.small);
      {
        std::lock_guard lock(commandLock_);
        commanded_ = p;
      }
      next += kLoopPeriod;
      std::this_thread::sleep_until(next);
    }
    running = false;
    telemetry.join();
  }

  void stop() {
    for (uint8_t motor = 0; motor < kQuadChannels; ++motor) c_BrovaQuad_disableMotor(quad_, motor);
    c_BrovaSmall_disableMotor(small_);
  }

  void close() {
    c_BrovaQuad_destroy(quad_);
    c_BrovaSmall_destroy(small_);
    c_closeI2C();
  }

 private:
  Profile commanded() {
    std::lock_guard lock(commandLock_);
    return commanded_;
  }

  // Each line shows the command in force when its readings were taken.
  void printTelemetry() {
    std::string block;
    char line[160];
    std::snprintf(line, sizeof line, "t=%5.2f s   BrovaQuad temp %5.2f C\n", elapsed(),
                  c_BrovaQuad_getControllerTemp(quad_));
    block += line;
    for (uint8_t motor = 0; motor < kQuadChannels; ++motor) {
      const double amps = c_BrovaQuad_getCurrent(quad_, motor);
      const double rpm = c_BrovaQuad_getRPM(quad_, motor);
      const double metres =
          c_BrovaQuadEncoder_getEncoderDistance(quad_, motor, kMetresPerTick, 0, nullptr);
      std::snprintf(line, sizeof line,
                    "  quad ch%u  cmd %s  current %6.2f A  rpm %5.0f  distance %7.3f m\n", motor,
                    signedSpeed(commanded().quad[motor]).c_str(), amps, rpm, metres);
      block += line;
    }
    const double smallAmps = c_BrovaSmall_getCurrent(small_);
    const double smallMetres =
        c_BrovaSmallEncoder_getEncoderDistance(small_, kMetresPerTick, 0, nullptr);
    std::snprintf(line, sizeof line, "  small     cmd %s  current %6.2f A  %s distance %7.3f m\n",
                  signedSpeed(commanded().small).c_str(), smallAmps, "          ", smallMetres);
    block += line;
    if (feruxPresent_) {
      std::snprintf(line, sizeof line, "  ferux     %5.2f V  %5.2f V  %5.2f V  %5.2f V\n",
                    c_getVoltage(0), c_getVoltage(1), c_getVoltage(2), c_getVoltage(3));
      block += line;
    }
    std::fputs(block.c_str(), stdout);
    std::fflush(stdout);
  }

  double elapsed() const { return std::chrono::duration<double>(Clock::now() - started_).count(); }

  RobotSettings settings_;
  int32_t quad_ = 0;
  int32_t small_ = 0;
  bool feruxPresent_ = false;
  Clock::time_point started_;
  std::mutex commandLock_;
  Profile commanded_;
};

}  // namespace

int runRobot(const RobotSettings& settings, const EnableSwitch& enable) {
  Robot robot(settings);
  if (!robot.open()) {
    std::printf("Could not open the controllers\n");
    return 1;
  }
  robot.printIdentity();
  std::printf("Robot enabled: driving for %.1f s\n", settings.seconds);
  enable(true);
  robot.drive();
  robot.stop();
  enable(false);
  std::printf("Robot disabled\n");
  robot.close();
  return 0;
}

}  // namespace demo
