// The four-channel controller as an object (libBrovaDriver.so).
#ifndef BROVADRIVER_BROVA_BROVAQUAD_HPP
#define BROVADRIVER_BROVA_BROVAQUAD_HPP

#include <string>

#include "brova/Limits.hpp"
#include "brova/Reading.hpp"
#include "brova/detail/ControllerObject.hpp"

namespace brova {

class BROVA_OBJECTS_API BrovaQuad : public detail::ControllerObject {
 public:
  static constexpr int kChannels = kQuadChannels;
  static constexpr int kDefaultFrequency = 15000;

  // Opens the BrovaQuad on CAN device `deviceNumber` (1..63) of `bus` (bus 0 without one) with
  // every channel at `frequencyHz` (0..20000), and starts its keep-alive frames. Throws
  // std::invalid_argument for a bad argument or a bus the HAL does not have (the 2026 HAL has
  // bus 0 only), std::logic_error when an object is open on that bus and device already or the
  // C entry points drive it, std::runtime_error when the platform refuses the controller's CAN
  // handle (the message names the platform's status).
  explicit BrovaQuad(int deviceNumber, int frequencyHz = kDefaultFrequency);
  BrovaQuad(int deviceNumber, CanBus bus, int frequencyHz = kDefaultFrequency);

  // Drives `motor` (0..3) at `speed`: 1.0 is full output forward, -1.0 full reverse; a speed
  // beyond them is clamped to them (the C entry points pass it on). NaN throws
  // std::invalid_argument.
  void set(int motor, double speed);
  // Turns `motor`'s output off until the next set.
  void disable(int motor);
  // Sets `motor`'s PWM frequency in hertz (0..20000).
  void setFrequency(int motor, int hz);
  // Sets encoder `encoder`'s count to zero; its cached distance reads 0 at once.
  void resetEncoder(int encoder);
  // The distance one encoder count stands for (default 1.0: distances are counts).
  void setDistancePerTick(int encoder, double distance);
  double getDistancePerTick(int encoder) const;

  // Identity texts; each waits for the controller's reply (10 ms).
  std::string getFirmwareVersion() const;
  std::string getHardwareVersion() const;
  std::string getSerialNumber() const;

  // Direct reads; each waits for the controller's reply (10 ms). A reply that does not come
  // reads as 0, with a console line.
  double getCurrentBlocking(int motor) const;            // amperes
  double getRPMBlocking(int motor) const;                // revolutions per minute, 0..65535
  double getTemperatureBlocking() const;                 // degrees Celsius
  double getEncoderDistanceBlocking(int encoder) const;  // counts × distance per tick

  // The latest values the telemetry read; never wait.
  Reading getCurrent(int motor) const;
  Reading getRPM(int motor) const;
  Reading getTemperature() const;
  Reading getEncoderDistance(int encoder) const;
};

}  // namespace brova

#endif  // BROVADRIVER_BROVA_BROVAQUAD_HPP
