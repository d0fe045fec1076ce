// The Ferux analog board as an object (libBrovaDriver.so): four single-ended inputs, channels
// 0..3, converted to 12 bits (0..2047; an input below 0 V reads 0).
#ifndef BROVADRIVER_BROVA_FERUX_HPP
#define BROVADRIVER_BROVA_FERUX_HPP

#include <chrono>
#include <memory>

#include "brova/Limits.hpp"
#include "brova/Reading.hpp"
#include "brova/detail/Export.hpp"

namespace brova::sim {
class FeruxSim;
}  // namespace brova::sim

namespace brova {

class BROVA_OBJECTS_API Ferux {
 public:
  static constexpr int kChannels = kAnalogInputs;
  static constexpr int kCountsAtFullScale = 2048;
  // Whole volts up to this pass through the board's single precision exactly.
  static constexpr int kLargestFullScaleVolts = 1 << 24;

  // Opens the board's I2C port, with `fullScaleVolts` (0..kLargestFullScaleVolts, else
  // std::invalid_argument) standing for 2048 counts, and probes the board: the library prints
  // "I2C device is connected" or "I2C device not connected". There is one board: while a Ferux
  // is open, another is refused with std::logic_error ("Ferux analog board is already open;
  // close it first").
  explicit Ferux(int fullScaleVolts = 5);
  ~Ferux();
  Ferux(Ferux&&) noexcept;
  Ferux& operator=(Ferux&&) noexcept;

  // Stops the telemetry, closes the port; another Ferux may open then. Closing again does
  // nothing.
  void close() noexcept;

  // False once closed, and for an object moved from. Every call but close and isOpen on such an
  // object throws std::logic_error "Ferux analog board is closed" (a bad channel is refused
  // first, with std::invalid_argument).
  bool isOpen() const noexcept;
  int getFullScaleVolts() const;
  // The board answered lately, the probe at open, its telemetry or a blocking read: within the
  // last second (or three telemetry rounds, when longer), and fewer than three conversions in a
  // row failed since. False after a probe that went unanswered.
  bool isConnected() const;

  // One conversion of `channel` now, in volts (counts × full scale / 2048, single precision) or
  // counts; each waits about 1 ms. A failed transfer reads 0, and counts against isConnected().
  double getVoltageBlocking(int channel) const;
  int getRawBlocking(int channel) const;

  // Converts the four inputs on the library's telemetry thread, which reads the controllers too,
  // one round at most every `period` (positive, else std::invalid_argument "telemetry period
  // must be positive"); a round takes about 4 ms. Calling it again changes the period.
  void startTelemetry(std::chrono::milliseconds period);
  void stopTelemetry();
  bool telemetryRunning() const;

  // The latest values the telemetry read, in volts (converted as getVoltageBlocking converts) or
  // counts; never wait. A conversion one of whose transfers failed leaves its reading missing
  // (the last value kept), never 0 V.
  Reading getVoltage(int channel) const;
  Reading getRaw(int channel) const;

  struct Open;  // the library's

 private:
  friend class sim::FeruxSim;

  const Open& open() const;
  Reading raw(int channel) const;

  std::unique_ptr<Open> open_;
};

}  // namespace brova

#endif  // BROVADRIVER_BROVA_FERUX_HPP
