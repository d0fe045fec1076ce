#include "brova/detail/ControllerObject.hpp"

#include <algorithm>
#include <array>
#include <atomic>
#include <cmath>
#include <stdexcept>
#include <string>

#include "brova/Limits.hpp"
#include "brova/detail/Checks.hpp"
#include "objects/Open.h"

namespace brova::detail {

ControllerObject::ControllerObject(bool quad, int deviceNumber, CanBus bus, int frequencyHz)
    : quad_(quad) {
  const devices::Kind kind = quad ? devices::Kind::Quad : devices::Kind::Small;
  checkRange(deviceNumber, kLowestDeviceNumber, kHighestDeviceNumber,
             kindName(kind) + " device number");
  checkFrequency(frequencyHz);
  auto open = std::make_unique<Open>();
  open->device = devices::Device::open(
      kind, can::Address{.bus = bus.getId(), .device = deviceNumber}, frequencyHz);
  open->readings = &open->device->readings();
  for (auto& distance : open->perTick) distance.store(1.0, std::memory_order_relaxed);
  open_ = std::move(open);
}

ControllerObject::~ControllerObject() { close(); }
ControllerObject::ControllerObject(ControllerObject&&) noexcept = default;
ControllerObject& ControllerObject::operator=(ControllerObject&& other) noexcept {
  if (this != &other) {
    close();
    quad_ = other.quad_;
    open_ = std::move(other.open_);
  }
  return *this;
}

void ControllerObject::close() noexcept {
  if (!open_ || open_->closed.load(std::memory_order_relaxed)) return;
  open_->closed.store(true, std::memory_order_relaxed);
  open_->device->close();
}

bool ControllerObject::isOpen() const noexcept {
  return open_ && !open_->closed.load(std::memory_order_relaxed);
}

int ControllerObject::getDeviceNumber() const { return open().device->number(); }

CanBus ControllerObject::getCanBus() const { return CanBus{open().device->bus()}; }

bool ControllerObject::isConnected() const { return open().device->isConnected(); }

void ControllerObject::startTelemetry(std::chrono::milliseconds period, TelemetryChoice choice) {
  check(period.count() > 0, "telemetry period must be positive");
  check((choice.quantities & ~TelemetryChoice::kEverything) == 0,
        "telemetry quantities " + std::to_string(choice.quantities) + " name no quantity");
  check((choice.channels & ~0xFu) == 0,
        "telemetry channels " + std::to_string(choice.channels) + " name no channel 0..3");
  const Open& o = open();
  // A day stands for any longer period, whose nanoseconds would not fit.
  o.device->startTelemetry(
      std::min<std::chrono::milliseconds>(period, std::chrono::hours(24)),
      devices::Choice{.quantities = choice.quantities, .channels = choice.channels});
}

void ControllerObject::stopTelemetry() { open().device->stopTelemetry(); }

bool ControllerObject::telemetryRunning() const { return open().device->telemetryRunning(); }

const ControllerObject::Open& ControllerObject::open() const {
  if (!isOpen()) {
    // A closed object names the device it drove, a moved-from one the model it was made as.
    throw std::logic_error((open_ ? open_->device->name()
                                  : kindName(quad_ ? devices::Kind::Quad : devices::Kind::Small)) +
                           " is closed");
  }
  return *open_;
}

Reading ControllerObject::reading(std::size_t slot) const {
  return toReading(devices::seen(*open().readings, slot, devices::readingTimeNow()));
}

Reading ControllerObject::distance(std::size_t slot, int encoder) const {
  Reading count = reading(slot);
  count.value *= perTick(encoder);
  return count;
}

double ControllerObject::perTick(int encoder) const {
  return open().perTick[static_cast<std::size_t>(encoder)].load(std::memory_order_relaxed);
}

void ControllerObject::setPerTick(int encoder, double distance) {
  check(std::isfinite(distance), "distance per tick must be finite");
  open();  // throws when closed
  open_->perTick[static_cast<std::size_t>(encoder)].store(distance, std::memory_order_relaxed);
}

}  // namespace brova::detail
