// The single-channel controller as an object (libBrovaDriver.so).
#ifndef BROVADRIVER_BROVA_BROVASMALL_HPP
#define BROVADRIVER_BROVA_BROVASMALL_HPP

#include <string>

#include "brova/Reading.hpp"
#include "brova/detail/ControllerObject.hpp"

namespace brova {

class BROVA_OBJECTS_API BrovaSmall : public detail::ControllerObject {
 public:
  static constexpr int kDefaultFrequency = 15000;

  // Opens the BrovaSmall on CAN device `deviceNumber` (1..63) of `bus` (bus 0 without one) at
  // `frequencyHz` (0..20000) and starts its keep-alive frames; prints "Brova Initialized".
  // Throws as BrovaQuad's constructor does.
  explicit BrovaSmall(int deviceNumber, int frequencyHz = kDefaultFrequency);
  BrovaSmall(int deviceNumber, CanBus bus, int frequencyHz = kDefaultFrequency);

  // Drives the motor at `speed` as BrovaQuad::set does: clamped to -1.0..1.0, NaN refused.
  void set(double speed);
  void disable();
  void setFrequency(int hz);
  // Sets the encoder count to zero; the cached distance reads 0 at once.
  void resetEncoder();
  void setDistancePerTick(double distance);
  double getDistancePerTick() const;

  // Identity texts; each waits for the controller's reply (100 ms).
  std::string getFirmwareVersion() const;
  std::string getHardwareVersion() const;
  std::string getSerialNumber() const;

  // Direct reads; each waits for the controller's reply (100 ms). A reply that does not come
  // reads as 0, with a console line.
  double getCurrentBlocking() const;
  double getEncoderDistanceBlocking() const;

  // The latest values the telemetry read; never wait. The telemetry reads the current and the
  // encoder (a BrovaSmall has no RPM or temperature replies).
  Reading getCurrent() const;
  Reading getEncoderDistance() const;
};

}  // namespace brova

#endif  // BROVADRIVER_BROVA_BROVASMALL_HPP
