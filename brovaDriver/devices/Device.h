// Open controllers as objects: any number of them, each addressing its own bus and device number
// (device 5 on bus 0 and device 5 on bus 2 are two devices). Their
// keep-alive frames go out from one thread for all of them, and their telemetry is read by one
// thread for all of them (batched requests, see Telemetry.h). The C entry points' process-wide
// slots play no part here.
#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "can/Link.h"
#include "controller/Description.h"
#include "devices/Readings.h"

namespace brova::devices {

enum class Kind { Quad, Small };

// What a device's telemetry reads: a set of quantities, for the channels in `channels` (bit c
// for channel c; a single-channel controller reads channel 0 whatever this holds).
struct Choice {
  uint32_t quantities = kEveryQuantity;
  uint32_t channels = 0xF;
};

class Device {
 public:
  // Opens controller `address.device` (1..63) of `kind` on `address.bus` (0..24): obtains its
  // CAN handle, configures every channel with `frequency` (0..20000), prints the model's
  // greeting, and adds it to the keep-alive thread. The device number and frequency are the
  // caller's to check. Throws std::invalid_argument for a bus this HAL generation cannot name,
  // std::logic_error naming the holder when an object is open on that bus and number already
  // ("BrovaQuad on device 5 is already open; close it first") or the C entry points drive it,
  // std::runtime_error when the platform refuses. `readings`, when given, is where the readings
  // are kept (it must outlive the device); otherwise the device keeps its own.
  static std::shared_ptr<Device> open(Kind kind, can::Address address, int frequency,
                                      ReadingBlock* readings = nullptr);
  // On bus 0.
  static std::shared_ptr<Device> open(Kind kind, int number, int frequency,
                                      ReadingBlock* readings = nullptr) {
    return open(kind, can::Address{.bus = 0, .device = number}, frequency, readings);
  }

  ~Device();
  Device(const Device&) = delete;
  Device& operator=(const Device&) = delete;

  // Stops its telemetry and keep-alive frames (none is sent after close returns), releases the
  // CAN handle and the device number. Waits for a blocking query under way. Closing again does
  // nothing. Never throws.
  void close() noexcept;
  bool isOpen() const noexcept;

  Kind kind() const noexcept;
  int number() const noexcept;
  int bus() const noexcept;
  can::Address address() const noexcept;
  int channels() const noexcept;  // 4 or 1
  // "BrovaQuad on device 5", and "BrovaQuad on device 5 of CAN bus 2" on a bus other than 0
  const std::string& name() const noexcept;

  // The model description whose frames address this device only; for the blocking queries and
  // commands of controller/ (Queries.h, Commands.h). Its exchange lock is the device's: a
  // blocking query and the telemetry thread never overlap on one device.
  // Value `index` of its simulated device (controller/Simulated.h): 0, and nothing set, while
  // it is closed or where the HAL simulates nothing.
  double simulatedValue(std::size_t index) const noexcept;
  void setSimulatedValue(std::size_t index, double value) const noexcept;
  const controller::Model& model() const noexcept;

  // Refreshes the chosen quantities on the telemetry thread, a round at most every `period`
  // (zero: back to back). Replaces an earlier choice and period. May warn once on the console
  // when all devices' telemetry would take more than half of a 1 Mbit/s bus.
  void startTelemetry(std::chrono::nanoseconds period, Choice choice);
  // Takes the device off the telemetry thread; returns when no request of it is under way.
  void stopTelemetry();
  bool telemetryRunning() const noexcept;

  // Sets a reading to `value`, fresh now; a request already under way for it no longer
  // overwrites it.
  void resetReading(std::size_t slot, double value);
  // Sets encoder `encoder`'s count to zero on the controller, and its reading at once.
  void resetEncoder(uint8_t encoder);

  const ReadingBlock& readings() const noexcept;
  // It answered lately (a telemetry request or a blocking query) and fewer than three requests
  // in a row went unanswered since (Readings.h).
  bool isConnected() const noexcept;

  // The duration of the latest complete telemetry round; zero before the first.
  std::chrono::nanoseconds lastRound() const noexcept;

  struct State;  // the implementation's

 private:
  explicit Device(std::unique_ptr<State> state);
  std::unique_ptr<State> state_;
};

// Frames per second on its bus that `choice` at `period` costs one device of `kind`, requests
// and replies, keep-alive frames included; and the share of a 1 Mbit/s bus they take (0..),
// counting each frame at its longest (160 bits: 29-bit identifier, 8 bytes, worst stuffing).
double framesPerSecond(Kind kind, Choice choice, std::chrono::nanoseconds period);
double busShare(double framesPerSecond);

}  // namespace brova::devices
