// What a controller object holds and how it opens and closes: the same for both models, told
// apart by `Model` (its name, its open-device record, its create and destroy entry points).
#ifndef BROVADRIVER_BROVA_DETAIL_CONTROLLER_HPP
#define BROVADRIVER_BROVA_DETAIL_CONTROLLER_HPP

#include <array>
#include <cmath>
#include <cstdint>
#include <memory>
#include <mutex>
#include <stdexcept>
#include <string>

#include "BrovaDriver.h"
#include "brova/Limits.hpp"
#include "brova/Reading.hpp"
#include "brova/detail/Checks.hpp"
#include "brova/detail/OpenDevice.hpp"
#include "brova/detail/Telemetry.hpp"

namespace brova::detail {

template <typename Model, size_t Quantities, int Channels>
class Controller {
 public:
  ~Controller() { close(); }
  Controller(Controller&&) noexcept = default;
  Controller& operator=(Controller&& other) noexcept {
    if (this != &other) {
      close();
      state_ = std::move(other.state_);
    }
    return *this;
  }

  // Stops the telemetry thread, stops the keep-alive frames and releases the controller. A
  // closed object can be closed again; anything else throws std::logic_error.
  void close() noexcept {
    if (!state_ || state_->handle == 0) return;
    state_->telemetry.stop();
    Model::destroy(state_->handle);
    state_->handle = 0;
    Model::openDevice().release();
  }

  bool isOpen() const { return state_ && state_->handle != 0; }
  int getDeviceNumber() const { return open().device; }
  void stopTelemetry() { open().telemetry.stop(); }
  bool telemetryRunning() const { return open().telemetry.running(); }

 protected:
  using Cache = Telemetry<Quantities>;

  struct State {
    int32_t handle = 0;
    int device = 0;
    Cache telemetry;
    mutable std::mutex perTickLock;
    std::array<double, Channels> perTick{};
  };

  Controller(int deviceNumber, int frequencyHz) : state_(std::make_unique<State>()) {
    checkRange(deviceNumber, kLowestDeviceNumber, kHighestDeviceNumber,
               std::string(Model::kName) + " device number");
    checkFrequency(frequencyHz);
    state_->perTick.fill(1.0);
    Model::openDevice().claim(deviceNumber);
    state_->handle =
        Model::create(static_cast<int16_t>(deviceNumber), static_cast<int16_t>(frequencyHz));
    if (state_->handle == 0) {
      Model::openDevice().release();
      throw std::runtime_error(std::string(Model::kName) + " on device " +
                               std::to_string(deviceNumber) + " could not be opened");
    }
    state_->device = deviceNumber;
  }

  static void checkFrequency(int hz) {
    checkRange(hz, kLowestFrequency, kHighestFrequency, "motor frequency");
  }

  State& open() const {
    if (!isOpen()) throw std::logic_error(std::string(Model::kName) + " is closed");
    return *state_;
  }
  double perTick(uint8_t encoder) const {
    std::lock_guard lock(open().perTickLock);
    return state_->perTick[encoder];
  }
  void setPerTick(uint8_t encoder, double distance) {
    check(std::isfinite(distance), "distance per tick must be finite");
    std::lock_guard lock(open().perTickLock);
    state_->perTick[encoder] = distance;
  }
  // The latest encoder count times the distance per tick.
  Reading distance(size_t quantity, uint8_t encoder) const {
    Reading count = open().telemetry.get(quantity);
    count.value *= perTick(encoder);
    return count;
  }

 private:
  std::unique_ptr<State> state_;
};

struct QuadModel {
  static constexpr const char* kName = "BrovaQuad";
  static OpenDevice& openDevice() { return openQuad(); }
  static int32_t create(int16_t device, int16_t frequency) {
    return c_BrovaQuad_create(device, frequency, nullptr, 0);
  }
  static void destroy(int32_t handle) { c_BrovaQuad_destroy(handle); }
};

struct SmallModel {
  static constexpr const char* kName = "BrovaSmall";
  static OpenDevice& openDevice() { return openSmall(); }
  static int32_t create(int16_t device, int16_t frequency) {
    return c_BrovaSmall_create(device, frequency, nullptr);
  }
  static void destroy(int32_t handle) { c_BrovaSmall_destroy(handle); }
};

}  // namespace brova::detail

#endif  // BROVADRIVER_BROVA_DETAIL_CONTROLLER_HPP
