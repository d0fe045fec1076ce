// The single-channel controller as an object.
#ifndef BROVADRIVER_BROVA_BROVASMALL_HPP
#define BROVADRIVER_BROVA_BROVASMALL_HPP

#include <chrono>
#include <cmath>
#include <cstdint>
#include <string>

#include "BrovaDriver.h"
#include "brova/Reading.hpp"
#include "brova/detail/Controller.hpp"

namespace brova {

class BrovaSmall : public detail::Controller<detail::SmallModel, 2, 1> {
 public:
  static constexpr int kDefaultFrequency = 15000;

  // Opens the BrovaSmall on CAN device `deviceNumber` (1..63) at `frequencyHz` (0..20000) and
  // starts its keep-alive frames.
  explicit BrovaSmall(int deviceNumber, int frequencyHz = kDefaultFrequency)
      : Controller(deviceNumber, frequencyHz) {}

  // Drives the motor at `speed`: 1.0 is full output forward, -1.0 full reverse.
  void set(double speed) {
    detail::check(!std::isnan(speed), "speed is NaN");
    c_BrovaSmall_setMotorSpeed(open().handle, speed);
  }
  void disable() { c_BrovaSmall_disableMotor(open().handle); }
  void setFrequency(int hz) {
    checkFrequency(hz);
    c_BrovaSmall_configureMotor(open().handle, hz);
  }
  // Sets the encoder count to zero; the cached distance reads 0 at once.
  void resetEncoder() {
    c_BrovaSmallEncoder_resetEncoder(open().handle);
    open().telemetry.reset(kCount, 0.0);
  }
  void setDistancePerTick(double distance) { setPerTick(0, distance); }

  // Identity texts; each waits for the controller's reply (100 ms).
  std::string getFirmwareVersion() const { return c_BrovaSmall_getFirmwareVersion(open().handle); }
  std::string getHardwareVersion() const { return c_BrovaSmall_getHardwareVersion(open().handle); }
  std::string getSerialNumber() const { return c_BrovaSmall_getSerialNumber(open().handle); }

  // Direct reads; each waits for the controller's reply (100 ms).
  double getCurrentBlocking() const { return c_BrovaSmall_getCurrent(open().handle); }
  double getEncoderDistanceBlocking() const {
    return c_BrovaSmallEncoder_getEncoderDistance(open().handle, 1.0, 0, nullptr) * perTick(0);
  }

  // Refreshes the current and the encoder count on a thread of this object's own, one round
  // (2 queries, about 200 ms) at most every `period`.
  void startTelemetry(std::chrono::milliseconds period) {
    const int32_t handle = open().handle;
    open().telemetry.start(period, [handle](Cache& cache) {
      cache.refresh(kCurrent, [&] { return c_BrovaSmall_getCurrent(handle); });
      cache.refresh(
          kCount, [&] { return c_BrovaSmallEncoder_getEncoderDistance(handle, 1.0, 0, nullptr); });
    });
  }

  Reading getCurrent() const { return open().telemetry.get(kCurrent); }
  Reading getEncoderDistance() const { return distance(kCount, 0); }

 private:
  static constexpr size_t kCurrent = 0, kCount = 1;
};

}  // namespace brova

#endif  // BROVADRIVER_BROVA_BROVASMALL_HPP
