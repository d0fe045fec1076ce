// The simulated controllers on the simulated bus: the model hears the frames of its bus, and its
// replies go onto the bus when they are due.
#include "brovasim/SimController.h"

#include <stdexcept>
#include <string>

#include "DeviceValues.h"
#include "DeviceWatch.h"

namespace brovasim {
namespace {

brovamodels::DeviceName::Kind kindOf(SimController::Model model) {
  return model == SimController::Model::Quad ? brovamodels::DeviceName::Kind::Quad
                                             : brovamodels::DeviceName::Kind::Small;
}

}  // namespace

SimController::Options SimController::defaults(Model model) {
  Options options;
  static_cast<brovamodels::Controller::Options&>(options) =
      brovamodels::Controller::defaults(model);
  return options;
}

std::shared_ptr<SimController> SimController::attach(Model model, int device) {
  return attach(model, device, defaults(model));
}

std::shared_ptr<SimController> SimController::attach(Model model, int device,
                                                     const Options& options) {
  if (!can::isBus(options.bus)) {
    throw std::out_of_range("simulated CAN buses are 0.." + std::to_string(can::kBuses - 1));
  }
  // The model refuses a device number it cannot have.
  std::shared_ptr<SimController> controller(new SimController(model, device, options));
  // The bus may still call an observer after unsubscribe, and calls it in the sender's thread:
  // the observer holds the controller only while it hears a frame.
  controller->subscription_ =
      can::subscribe([weak = std::weak_ptr(controller)](const SentFrame& frame) {
        if (auto self = weak.lock()) self->hear(frame);
      });
  const std::weak_ptr<SimController> weak = controller;
  controller->watch_ = std::make_unique<DeviceWatch>(
      brovamodels::nameOf({kindOf(model), controller->device(), controller->bus()}),
      [weak](int32_t device) {
        if (auto self = weak.lock()) self->simulatedDeviceCreated(device);
      },
      [weak] {
        if (auto self = weak.lock()) self->simulatedDeviceFreed();
      });
  return controller;
}

SimController::SimController(Model model, int device, const Options& options)
    : bus_(options.bus),
      controller_(model, device, options, Clock::now()),
      worker_([this] { deliverWhenDue(); }) {}

SimController::~SimController() { detach(); }

void SimController::detach() {
  std::call_once(detached_, [this] {
    can::unsubscribe(subscription_);
    watch_.reset();
    simulatedDeviceFreed();
    {
      std::lock_guard lock(mutex_);
      attached_ = false;
      pending_.clear();
    }
    wake_.notify_all();
    // A reply on its way to the bus gets there before detach returns; none follows it.
    {
      std::lock_guard lock(sendMutex_);
      sending_ = false;
    }
    worker_.join();
  });
}

void SimController::hear(const SentFrame& frame) {
  // Which frames the model hears was fixed when it was made: no lock needed to ask.
  if (frame.bus != bus_ || !controller_.hears(frame.id)) return;
  std::vector<brovamodels::Frame> replies;
  {
    std::lock_guard lock(mutex_);
    if (!attached_) return;
    replies = controller_.hear(frame.id, frame.data, frame.time);
    if (simulatedDevice_ != 0 && !values_) {
      values_ = std::make_unique<brovamodels::DeviceValues>(
          simulatedDevice_, kindOf(model()), channels(),
          [weak = weak_from_this()](std::size_t index, double value) {
            if (auto self = weak.lock()) self->simulatedValueSet(index, value);
          });
    }
    if (values_) values_->show(controller_, frame.time);
    if (replies.empty()) return;
    const std::chrono::microseconds latency = controller_.latency();
    if (latency > std::chrono::microseconds::zero()) {
      // Observers run in the sender's thread, which must not wait: the worker sends later.
      const Clock::time_point due = frame.time + latency;
      for (const brovamodels::Frame& r : replies) pending_.emplace(due, r);
      wake_.notify_one();
      return;
    }
  }
  send(replies);
}

void SimController::simulatedDeviceCreated(int32_t device) {
  std::unique_ptr<brovamodels::DeviceValues> unbound;
  {
    std::lock_guard lock(mutex_);
    simulatedDevice_ = device;
    unbound = std::move(values_);
  }
}

void SimController::simulatedDeviceFreed() {
  std::unique_ptr<brovamodels::DeviceValues> unbound;
  {
    std::lock_guard lock(mutex_);
    simulatedDevice_ = 0;
    unbound = std::move(values_);
  }
  // Unbound without the lock: a value's callback under way may be waiting for it.
}

void SimController::simulatedValueSet(std::size_t index, double value) {
  std::lock_guard lock(mutex_);
  if (values_) brovamodels::DeviceValues::apply(controller_, index, value, Clock::now());
}

void SimController::send(const std::vector<brovamodels::Frame>& replies) {
  std::lock_guard lock(sendMutex_);
  if (!sending_) return;
  for (const brovamodels::Frame& r : replies) {
    can::putFrame(r.id, r.data.data(), r.data.size(), bus_);
  }
}

void SimController::deliverWhenDue() {
  std::unique_lock lock(mutex_);
  while (attached_) {
    if (pending_.empty()) {
      wake_.wait(lock);
      continue;
    }
    const Clock::time_point now = Clock::now();
    // A copy: the wait releases the lock, and detach may empty the map meanwhile.
    const Clock::time_point next = pending_.begin()->first;
    if (now < next) {
      wake_.wait_until(lock, next);
      continue;
    }
    std::vector<brovamodels::Frame> due;
    while (!pending_.empty() && pending_.begin()->first <= now) {
      due.push_back(pending_.begin()->second);
      pending_.erase(pending_.begin());
    }
    // The bus takes its own lock; a device model never holds its own while waiting for it.
    lock.unlock();
    send(due);
    lock.lock();
  }
}

void SimController::setAnswering(bool answering) {
  std::lock_guard lock(mutex_);
  controller_.setAnswering(answering);
}

void SimController::setReplyLatency(std::chrono::microseconds latency) {
  std::lock_guard lock(mutex_);
  controller_.setReplyLatency(latency);
}

void SimController::setFreeSpeed(double rpm) {
  std::lock_guard lock(mutex_);
  controller_.setFreeSpeed(rpm, Clock::now());
}

void SimController::setTimeConstant(double seconds) {
  std::lock_guard lock(mutex_);
  controller_.setTimeConstant(seconds, Clock::now());
}

void SimController::setCountsPerRevolution(int64_t counts) {
  std::lock_guard lock(mutex_);
  controller_.setCountsPerRevolution(counts);
}

void SimController::setLoad(int channel, double fraction) {
  std::lock_guard lock(mutex_);
  controller_.setLoad(channel, fraction, Clock::now());
}

void SimController::setAmbient(double celsius) {
  std::lock_guard lock(mutex_);
  controller_.setAmbient(celsius, Clock::now());
}

void SimController::setIdentity(const Identity& identity) {
  std::lock_guard lock(mutex_);
  controller_.setIdentity(identity);
}

void SimController::holdRpm(int channel, double rpm) {
  std::lock_guard lock(mutex_);
  controller_.holdRpm(channel, rpm, Clock::now());
}

void SimController::holdCurrent(int channel, double amperes) {
  std::lock_guard lock(mutex_);
  controller_.holdCurrent(channel, amperes, Clock::now());
}

void SimController::setEncoderCount(int channel, int32_t count) {
  std::lock_guard lock(mutex_);
  controller_.setEncoderCount(channel, count, Clock::now());
}

void SimController::holdTemperature(double celsius) {
  std::lock_guard lock(mutex_);
  controller_.holdTemperature(celsius, Clock::now());
}

void SimController::releaseTemperature() {
  std::lock_guard lock(mutex_);
  controller_.releaseTemperature(Clock::now());
}

void SimController::release(int channel) {
  std::lock_guard lock(mutex_);
  controller_.release(channel, Clock::now());
}

bool SimController::enabled() const {
  std::lock_guard lock(mutex_);
  return controller_.enabled(Clock::now());
}

Clock::time_point SimController::enabledUntil() const {
  std::lock_guard lock(mutex_);
  return controller_.enabledUntil();
}

double SimController::temperature() const {
  std::lock_guard lock(mutex_);
  return controller_.temperature(Clock::now());
}

SimController::Channel SimController::channel(int channel) const {
  std::lock_guard lock(mutex_);
  return controller_.channel(channel, Clock::now());
}

int SimController::answered() const {
  std::lock_guard lock(mutex_);
  return controller_.answered();
}

}  // namespace brovasim
