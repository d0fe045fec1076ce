// The Ferux analog board as an object: four single-ended inputs, channels 0..3.
#ifndef BROVADRIVER_BROVA_FERUX_HPP
#define BROVADRIVER_BROVA_FERUX_HPP

#include <chrono>
#include <cstdint>
#include <memory>
#include <stdexcept>

#include "BrovaDriver.h"
#include "brova/Limits.hpp"
#include "brova/Reading.hpp"
#include "brova/detail/Checks.hpp"
#include "brova/detail/OpenDevice.hpp"
#include "brova/detail/Telemetry.hpp"

namespace brova {

class Ferux {
 public:
  static constexpr int kChannels = kAnalogInputs;

  // Opens the board's I2C port; `fullScaleVolts` (whole volts) is what 2048 counts stand for.
  explicit Ferux(int fullScaleVolts = 5) : state_(std::make_unique<State>()) {
    detail::openBoard().claim(1);
    state_->connected = c_initializeI2C(fullScaleVolts);
    state_->open = true;
  }

  ~Ferux() { close(); }
  Ferux(Ferux&&) noexcept = default;
  Ferux& operator=(Ferux&& other) noexcept {
    if (this != &other) {
      close();
      state_ = std::move(other.state_);
    }
    return *this;
  }

  void close() noexcept {
    if (!state_ || !state_->open) return;
    state_->telemetry.stop();
    c_closeI2C();
    state_->open = false;
    detail::openBoard().release();
  }

  bool isOpen() const { return state_ && state_->open; }
  // Whether the board answered when it was opened.
  bool isConnected() const { return open().connected; }

  // One conversion of `channel`, in volts or counts (0..2047); takes about 1 ms.
  double getVoltageBlocking(int channel) const { return c_getVoltage(check(channel)); }
  int getRawBlocking(int channel) const { return c_getRawValue(check(channel)); }

  // Refreshes the four voltages on a thread of this object's own, at most every `period`.
  void startTelemetry(std::chrono::milliseconds period) {
    open();
    state_->telemetry.start(period, [](Cache& cache) {
      for (uint8_t c = 0; c < kChannels; ++c) cache.refresh(c, [c] { return c_getVoltage(c); });
    });
  }
  void stopTelemetry() { open().telemetry.stop(); }
  Reading getVoltage(int channel) const {
    const uint8_t c = check(channel);
    return open().telemetry.get(c);
  }

 private:
  using Cache = detail::Telemetry<kChannels>;

  struct State {
    bool open = false;
    bool connected = false;
    Cache telemetry;
  };

  State& open() const {
    if (!isOpen()) throw std::logic_error("Ferux board is closed");
    return *state_;
  }
  // The channel is checked before the board is found open, as the controllers check theirs.
  uint8_t check(int channel) const {
    detail::checkRange(channel, 0, kChannels - 1, "analog channel");
    open();
    return static_cast<uint8_t>(channel);
  }

  std::unique_ptr<State> state_;
};

}  // namespace brova

#endif  // BROVADRIVER_BROVA_FERUX_HPP
