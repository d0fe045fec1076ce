#include "devices/Device.h"

#include <array>
#include <stdexcept>
#include <string>

#include "can/Link.h"
#include "common/Console.h"
#include "controller/Claims.h"
#include "controller/Commands.h"
#include "controller/Queries.h"
#include "controller/Simulated.h"
#include "devices/KeepAliveLoop.h"
#include "devices/Kinds.h"
#include "devices/State.h"
#include "devices/Telemetry.h"

namespace brova::devices {
namespace {

void release(const Device::State& state) noexcept {
  controller::claims::releaseObject(state.address);
}

}  // namespace

std::shared_ptr<Device> Device::open(Kind kind, can::Address address, int frequency,
                                     ReadingBlock* readings) {
  std::shared_ptr<Device> device(new Device(std::make_unique<State>(kind, address, readings)));
  State& s = *device->state_;
  if (address.bus < 0 || address.bus >= can::busCount()) {
    throw std::invalid_argument(
        s.name + " could not be opened: " +
        (can::busCount() == 1
             ? std::string("this HAL has one CAN bus, bus 0")
             : "this HAL's CAN buses are 0.." + std::to_string(can::busCount() - 1)));
  }
  controller::claims::takeForObject(address, s.name);
  s.writer.clear();
  // Undoes the claim, and returns the handle once there is one, before the open fails.
  bool obtained = false;
  const auto failure = [&](const std::string& why) {
    s.simulated = {};
    if (obtained) can::cleanDevice(s.handle);
    release(s);
    return std::runtime_error(s.name + " could not be opened" + why);
  };
  int32_t status = 0;
  try {
    s.handle = can::initializeDevice(address, &status);
    obtained = s.handle != 0;
  } catch (...) {
    throw failure("");
  }
  // A handle the platform reports as failed addresses nothing: the object is not opened.
  if (status < 0) {
    throw failure(": the platform refused its CAN handle (status " + std::to_string(status) + ")");
  }
  try {
    s.simulated = controller::simulated::open(s.model, address);
    for (int channel = 0; channel < device->channels(); ++channel) {
      controller::configureMotor(s.model, static_cast<uint8_t>(channel), frequency);
    }
    keepalive::add(address);
  } catch (...) {
    throw failure("");
  }
  s.open.store(true, std::memory_order_release);
  if (!s.model.greeting.empty()) console::report(s.model.greeting);
  return device;
}

Device::Device(std::unique_ptr<State> state) : state_(std::move(state)) {}

Device::~Device() { close(); }

void Device::close() noexcept {
  State& s = *state_;
  try {
    std::lock_guard lifecycle(s.lifecycle);
    if (!s.open.exchange(false)) return;
    telemetry::stop(s);
    keepalive::remove(s.address);
    {
      // A blocking query under way finishes first.
      std::lock_guard exchange(s.modelState.exchangeLock);
      s.writer.stop();
    }
    s.simulated = {};
    can::cleanDevice(s.handle);
    release(s);
  } catch (...) {
    // Only a broken mutex throws here; the device stays as far as it got.
  }
}

bool Device::isOpen() const noexcept { return state_->open.load(std::memory_order_acquire); }
Kind Device::kind() const noexcept { return state_->kind; }
int Device::number() const noexcept { return state_->number; }
int Device::bus() const noexcept { return state_->address.bus; }
can::Address Device::address() const noexcept { return state_->address; }
int Device::channels() const noexcept { return describe(state_->kind).channels(); }
const std::string& Device::name() const noexcept { return state_->name; }
const controller::Model& Device::model() const noexcept { return state_->model; }

double Device::simulatedValue(std::size_t index) const noexcept {
  try {
    std::lock_guard lifecycle(state_->lifecycle);
    return state_->simulated.get(index);
  } catch (...) {
    return 0.0;
  }
}

void Device::setSimulatedValue(std::size_t index, double value) const noexcept {
  try {
    std::lock_guard lifecycle(state_->lifecycle);
    state_->simulated.set(index, value);
  } catch (...) {
    // Only a broken mutex throws.
  }
}

void Device::startTelemetry(std::chrono::nanoseconds period, Choice choice) {
  std::lock_guard lifecycle(state_->lifecycle);
  if (!isOpen()) return;
  telemetry::start(*state_, period, choice);
}

void Device::stopTelemetry() {
  std::lock_guard lifecycle(state_->lifecycle);
  telemetry::stop(*state_);
}

bool Device::telemetryRunning() const noexcept {
  return state_->telemetryRunning.load(std::memory_order_acquire);
}

void Device::resetReading(std::size_t slot, double value) {
  if (slot >= kReadingSlots) throw std::out_of_range("no reading slot " + std::to_string(slot));
  state_->writer.reset(slot, value);
}

void Device::resetEncoder(uint8_t encoder) {
  controller::resetEncoder(state_->model, encoder);
  resetReading(slotOf(kEncoderCount, encoder), 0.0);
}

const ReadingBlock& Device::readings() const noexcept { return state_->readings(); }

bool Device::isConnected() const noexcept {
  return connectedAt(state_->readings(), readingTimeNow());
}

std::chrono::nanoseconds Device::lastRound() const noexcept {
  return std::chrono::nanoseconds(state_->lastRoundNanos.load(std::memory_order_acquire));
}

}  // namespace brova::devices
