// The four-channel controller as an object.
#ifndef BROVADRIVER_BROVA_BROVAQUAD_HPP
#define BROVADRIVER_BROVA_BROVAQUAD_HPP

#include <chrono>
#include <cmath>
#include <cstdint>
#include <string>

#include "BrovaDriver.h"
#include "brova/Limits.hpp"
#include "brova/Reading.hpp"
#include "brova/detail/Controller.hpp"

namespace brova {

class BrovaQuad : public detail::Controller<detail::QuadModel, 13, kQuadChannels> {
 public:
  static constexpr int kChannels = kQuadChannels;
  static constexpr int kDefaultFrequency = 15000;

  // Opens the BrovaQuad on CAN device `deviceNumber` (1..63) with every channel at
  // `frequencyHz` (0..20000), and starts its keep-alive frames.
  explicit BrovaQuad(int deviceNumber, int frequencyHz = kDefaultFrequency)
      : Controller(deviceNumber, frequencyHz) {
    for (uint8_t motor = 1; motor < kChannels; ++motor) {
      c_BrovaQuad_configureMotor(open().handle, frequencyHz, motor);
    }
  }

  // Drives `motor` (0..3) at `speed`: 1.0 is full output forward, -1.0 full reverse.
  void set(int motor, double speed) {
    const uint8_t m = channel(motor);
    detail::check(!std::isnan(speed), "speed is NaN");
    c_BrovaQuad_setMotorSpeed(open().handle, m, speed);
  }
  // Turns `motor`'s output off until the next set.
  void disable(int motor) {
    const uint8_t m = channel(motor);
    c_BrovaQuad_disableMotor(open().handle, m);
  }
  // Sets `motor`'s PWM frequency in hertz (0..20000).
  void setFrequency(int motor, int hz) {
    const uint8_t m = channel(motor);
    checkFrequency(hz);
    c_BrovaQuad_configureMotor(open().handle, hz, m);
  }
  // Sets encoder `encoder`'s count to zero; its cached distance reads 0 at once.
  void resetEncoder(int encoder) {
    const uint8_t e = channel(encoder);
    c_BrovaQuadEncoder_resetEncoder(open().handle, e);
    open().telemetry.reset(kCount + e, 0.0);
  }
  // The distance one encoder count stands for (default 1.0: distances are counts).
  void setDistancePerTick(int encoder, double distance) { setPerTick(channel(encoder), distance); }

  // Identity texts; each waits for the controller's reply (10 ms).
  std::string getFirmwareVersion() const { return c_BrovaQuad_getFirmwareVersion(open().handle); }
  std::string getHardwareVersion() const { return c_BrovaQuad_getHardwareVersion(open().handle); }
  std::string getSerialNumber() const { return c_BrovaQuad_getSerialNumber(open().handle); }

  // Direct reads; each waits for the controller's reply (10 ms).
  double getCurrentBlocking(int motor) const {  // amperes
    const uint8_t m = channel(motor);
    return c_BrovaQuad_getCurrent(open().handle, m);
  }
  double getRPMBlocking(int motor) const {  // revolutions per minute, 0..65535
    const uint8_t m = channel(motor);
    return c_BrovaQuad_getRPM(open().handle, m);
  }
  double getTemperatureBlocking() const {  // degrees Celsius
    return c_BrovaQuad_getControllerTemp(open().handle);
  }
  double getEncoderDistanceBlocking(int encoder) const {  // counts × distance per tick
    const uint8_t e = channel(encoder);
    return c_BrovaQuadEncoder_getEncoderDistance(open().handle, e, 1.0, 0, nullptr) * perTick(e);
  }

  // Refreshes every channel's current, RPM and encoder count and the temperature on a thread
  // of this object's own, one round (13 queries, about 130 ms) at most every `period`.
  void startTelemetry(std::chrono::milliseconds period) {
    const int32_t handle = open().handle;
    open().telemetry.start(period, [handle](Cache& cache) {
      for (uint8_t m = 0; m < kChannels; ++m) {
        cache.refresh(kCurrent + m, [&] { return c_BrovaQuad_getCurrent(handle, m); });
        cache.refresh(kRpm + m, [&] { return c_BrovaQuad_getRPM(handle, m); });
        cache.refresh(kCount + m, [&] {
          return c_BrovaQuadEncoder_getEncoderDistance(handle, m, 1.0, 0, nullptr);
        });
      }
      cache.refresh(kTemperature, [&] { return c_BrovaQuad_getControllerTemp(handle); });
    });
  }

  // The latest values the telemetry thread read; never wait.
  Reading getCurrent(int motor) const {
    const uint8_t m = channel(motor);
    return open().telemetry.get(kCurrent + m);
  }
  Reading getRPM(int motor) const {
    const uint8_t m = channel(motor);
    return open().telemetry.get(kRpm + m);
  }
  Reading getTemperature() const { return open().telemetry.get(kTemperature); }
  Reading getEncoderDistance(int encoder) const {
    const uint8_t e = channel(encoder);
    return distance(kCount + e, e);
  }

 private:
  static constexpr size_t kCurrent = 0, kRpm = 4, kCount = 8, kTemperature = 12;

  // Checked before the object is found open: a bad argument is reported as such on an open or a
  // closed object alike.
  static uint8_t channel(int motor) {
    detail::checkRange(motor, 0, kChannels - 1, "BrovaQuad motor");
    return static_cast<uint8_t>(motor);
  }
};

}  // namespace brova

#endif  // BROVADRIVER_BROVA_BROVAQUAD_HPP
