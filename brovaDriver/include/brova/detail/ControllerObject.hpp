// What a controller object is, for both models: an open device of the driver library
// (libBrovaDriver.so), its cached readings, and its encoders' distance per tick.
#ifndef BROVADRIVER_BROVA_DETAIL_CONTROLLEROBJECT_HPP
#define BROVADRIVER_BROVA_DETAIL_CONTROLLEROBJECT_HPP

#include <chrono>
#include <cstddef>
#include <memory>
#include <string>

#include "brova/CanBus.hpp"
#include "brova/Reading.hpp"
#include "brova/TelemetryChoice.hpp"
#include "brova/detail/Export.hpp"

namespace brova::detail {

class SimulatedController;

class BROVA_OBJECTS_API ControllerObject {
 public:
  ~ControllerObject();
  ControllerObject(ControllerObject&&) noexcept;
  ControllerObject& operator=(ControllerObject&&) noexcept;

  // Stops the telemetry and the keep-alive frames and releases the device number; another object
  // may open it then. Motors are not commanded: disable them first if they should stop. A closed
  // object can be closed again.
  void close() noexcept;

  // False once closed, and for an object moved from. Every call but close and isOpen on such an
  // object throws std::logic_error naming it: "BrovaQuad on device 5 is closed" (as the Java
  // objects say), or, moved from, "BrovaQuad is closed".
  bool isOpen() const noexcept;
  int getDeviceNumber() const;
  CanBus getCanBus() const;
  // The device answered lately, its telemetry or a blocking query: within the last second (or
  // three telemetry rounds, when longer), and fewer than three requests in a row went unanswered
  // since. False before its first answer.
  bool isConnected() const;

  // Refreshes the chosen quantities on the library's telemetry thread, one round at most every
  // `period` (positive, else std::invalid_argument): a full BrovaQuad round takes about 10 ms on a
  // bus whose controllers answer within 2 ms. Calling it again changes the choice and the period.
  void startTelemetry(std::chrono::milliseconds period, TelemetryChoice choice = {});
  void stopTelemetry();
  bool telemetryRunning() const;

  struct Open;  // the library's

 protected:
  ControllerObject(bool quad, int deviceNumber, CanBus bus, int frequencyHz);

  const Open& open() const;
  Reading reading(std::size_t slot) const;
  // The encoder count of `encoder` cached at `slot`, times its distance per tick.
  Reading distance(std::size_t slot, int encoder) const;
  double perTick(int encoder) const;
  void setPerTick(int encoder, double distance);

 private:
  friend class SimulatedController;

  bool quad_;  // the model, which a moved-from object, holding no device, still names
  std::unique_ptr<Open> open_;
};

}  // namespace brova::detail

#endif  // BROVADRIVER_BROVA_DETAIL_CONTROLLEROBJECT_HPP
