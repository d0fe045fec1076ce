// BrovaDriver for C++ robot programs: BrovaQuad, BrovaSmall and Ferux objects over the C entry
// points of BrovaDriver.h. Header-only; it adds nothing to the library.
//
//   brova::BrovaQuad quad(5);                       // device 5, every channel at 15 kHz
//   quad.startTelemetry(std::chrono::milliseconds(50));
//   quad.set(1, 0.5);                               // never waits
//   brova::Reading amps = quad.getCurrent(1);       // the latest value read, at once
//
// - One controller of each model (and one board) can be open at a time: opening a second one
//   throws std::logic_error naming the open device. Objects are move-only; the destructor closes.
// - Bad arguments (device outside 1..63, motor outside 0..3, frequency outside 0..20000, NaN
//   speed, analog channel outside 0..3) throw std::invalid_argument; any call on a closed object
//   throws std::logic_error.
// - Telemetry: each controller query waits for the controller's reply (10 ms BrovaQuad, 100 ms
//   BrovaSmall). startTelemetry runs those queries on a thread of the object's own and keeps the
//   latest value of each quantity with the time it was read; the get... getters return that at
//   once. The ...Blocking methods ask the controller directly and wait. A reply that does not
//   come reads as 0 (and the library prints a line).
#ifndef BROVADRIVER_BROVADRIVER_HPP
#define BROVADRIVER_BROVADRIVER_HPP

#include <array>
#include <chrono>
#include <cmath>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <limits>
#include <memory>
#include <mutex>
#include <stdexcept>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#ifdef __linux__
#include <pthread.h>
#endif

#include "BrovaDriver.h"

namespace brova {

using Clock = std::chrono::steady_clock;

// A value read from a device, and when. Before the first read: NaN, not present.
struct Reading {
  double value = std::numeric_limits<double>::quiet_NaN();
  Clock::time_point readAt{};

  bool present() const { return readAt != Clock::time_point{}; }
  // How long ago the value was read (zero before the first read).
  Clock::duration age() const { return present() ? Clock::now() - readAt : Clock::duration{}; }
};

namespace detail {

inline void check(bool ok, const std::string& message) {
  if (!ok) throw std::invalid_argument(message);
}

inline void checkRange(int value, int low, int high, const std::string& what) {
  check(value >= low && value <= high, what + " " + std::to_string(value) + " is outside " +
                                           std::to_string(low) + ".." + std::to_string(high));
}

// Which device of a model is open, so that a second one is refused instead of silently
// re-addressing every command of the first.
class OpenDevice {
 public:
  // `what` names the device with its number, as in "BrovaQuad on device ".
  explicit OpenDevice(const char* what) : what_(what) {}

  void claim(int device) {
    std::lock_guard lock(mutex_);
    if (open_ != 0) {
      throw std::logic_error(what_ + std::to_string(open_) + " is already open; close it first");
    }
    open_ = device;
  }
  void release() {
    std::lock_guard lock(mutex_);
    open_ = 0;
  }

 private:
  std::string what_;
  std::mutex mutex_;
  int open_ = 0;
};

inline OpenDevice& openQuad() {
  static OpenDevice device("BrovaQuad on device ");
  return device;
}
inline OpenDevice& openSmall() {
  static OpenDevice device("BrovaSmall on device ");
  return device;
}
inline OpenDevice& openBoard() {
  static OpenDevice device("Ferux board on I2C port ");
  return device;
}

// The latest readings of one device, refreshed by a thread of its own. The lock is held only
// to copy a value in or out, never across a query.
template <size_t N>
class Telemetry {
 public:
  using Round = std::function<void(Telemetry&)>;

  ~Telemetry() { stop(); }

  void start(std::chrono::milliseconds period, Round round) {
    stop();
    check(period.count() > 0, "telemetry period must be positive");
    {
      std::lock_guard lock(mutex_);
      stopping_ = false;
    }
    thread_ = std::thread([this, period, round = std::move(round)] {
      std::unique_lock lock(mutex_);
      while (!stopping_) {
        const auto started = Clock::now();
        lock.unlock();
        round(*this);
        lock.lock();
        wake_.wait_until(lock, started + period, [this] { return stopping_; });
      }
    });
#ifdef __linux__
    pthread_setname_np(thread_.native_handle(), "brova-telemetry");
#endif
  }

  void stop() {
    {
      std::lock_guard lock(mutex_);
      stopping_ = true;
    }
    wake_.notify_all();
    if (thread_.joinable()) thread_.join();
  }

  bool running() const { return thread_.joinable(); }

  void store(size_t quantity, double value) {
    std::lock_guard lock(mutex_);
    readings_[quantity] = {value, Clock::now()};
  }

  Reading get(size_t quantity) const {
    std::lock_guard lock(mutex_);
    return readings_[quantity];
  }

 private:
  mutable std::mutex mutex_;
  std::condition_variable wake_;
  bool stopping_ = false;
  std::array<Reading, N> readings_{};
  std::thread thread_;
};

// What a controller object holds and how it opens and closes: the same for both models, told
// apart by `Model` (its name, its open-device record, its create and destroy entry points).
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
    checkRange(deviceNumber, 1, 63, std::string(Model::kName) + " device number");
    checkRange(frequencyHz, 0, 20000, "motor frequency");
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

}  // namespace detail

// The four-channel controller.
class BrovaQuad : public detail::Controller<detail::QuadModel, 13, 4> {
 public:
  static constexpr int kChannels = 4;
  static constexpr int kDefaultFrequency = 15000;

  // Opens the BrovaQuad on CAN device `deviceNumber` (1..63) with every channel at
  // `frequencyHz` (0..20000), and starts its keep-alive frames.
  explicit BrovaQuad(int deviceNumber, int frequencyHz = kDefaultFrequency)
      : Controller(deviceNumber, frequencyHz) {
    for (uint8_t motor = 1; motor < kChannels; ++motor) {
      c_BrovaQuad_configureMotor(open().handle, frequencyHz, motor);
    }
  }

  // Drives `motor` (0..3) at `speed`: 1.0 is full output forward, -1.0 full reverse.
  void set(int motor, double speed) {
    detail::check(!std::isnan(speed), "speed is NaN");
    c_BrovaQuad_setMotorSpeed(open().handle, channel(motor), speed);
  }
  // Turns `motor`'s output off until the next set.
  void disable(int motor) { c_BrovaQuad_disableMotor(open().handle, channel(motor)); }
  // Sets `motor`'s PWM frequency in hertz (0..20000).
  void setFrequency(int motor, int hz) {
    detail::checkRange(hz, 0, 20000, "motor frequency");
    c_BrovaQuad_configureMotor(open().handle, hz, channel(motor));
  }
  // Sets encoder `encoder`'s count to zero.
  void resetEncoder(int encoder) {
    c_BrovaQuadEncoder_resetEncoder(open().handle, channel(encoder));
  }
  // The distance one encoder count stands for (default 1.0: distances are counts).
  void setDistancePerTick(int encoder, double distance) { setPerTick(channel(encoder), distance); }

  // Identity texts; each waits for the controller's reply (10 ms).
  std::string getFirmwareVersion() const { return c_BrovaQuad_getFirmwareVersion(open().handle); }
  std::string getHardwareVersion() const { return c_BrovaQuad_getHardwareVersion(open().handle); }
  std::string getSerialNumber() const { return c_BrovaQuad_getSerialNumber(open().handle); }

  // Direct reads; each waits for the controller's reply (10 ms).
  double getCurrentBlocking(int motor) const {  // amperes
    return c_BrovaQuad_getCurrent(open().handle, channel(motor));
  }
  double getRPMBlocking(int motor) const {  // revolutions per minute, 0..65535
    return c_BrovaQuad_getRPM(open().handle, channel(motor));
  }
  double getTemperatureBlocking() const {  // degrees Celsius
    return c_BrovaQuad_getControllerTemp(open().handle);
  }
  double getEncoderDistanceBlocking(int encoder) const {  // counts × distance per tick
    const uint8_t e = channel(encoder);
    return c_BrovaQuadEncoder_getEncoderDistance(open().handle, e, 1.0, 0, nullptr) * perTick(e);
  }

  // Refreshes every channel's current, RPM and encoder count and the temperature on a thread
  // of this object's own, one round (13 queries, about 130 ms) at most every `period`.
  void startTelemetry(std::chrono::milliseconds period) {
    const int32_t handle = open().handle;
    open().telemetry.start(period, [handle](Cache& cache) {
      for (uint8_t m = 0; m < kChannels; ++m) {
        cache.store(kCurrent + m, c_BrovaQuad_getCurrent(handle, m));
        cache.store(kRpm + m, c_BrovaQuad_getRPM(handle, m));
        cache.store(kCount + m, c_BrovaQuadEncoder_getEncoderDistance(handle, m, 1.0, 0, nullptr));
      }
      cache.store(kTemperature, c_BrovaQuad_getControllerTemp(handle));
    });
  }

  // The latest values the telemetry thread read; never wait.
  Reading getCurrent(int motor) const { return open().telemetry.get(kCurrent + channel(motor)); }
  Reading getRPM(int motor) const { return open().telemetry.get(kRpm + channel(motor)); }
  Reading getTemperature() const { return open().telemetry.get(kTemperature); }
  Reading getEncoderDistance(int encoder) const {
    const uint8_t e = channel(encoder);
    return distance(kCount + e, e);
  }

 private:
  static constexpr size_t kCurrent = 0, kRpm = 4, kCount = 8, kTemperature = 12;

  static uint8_t channel(int motor) {
    detail::checkRange(motor, 0, kChannels - 1, "BrovaQuad motor");
    return static_cast<uint8_t>(motor);
  }
};

// The single-channel controller.
class BrovaSmall : public detail::Controller<detail::SmallModel, 2, 1> {
 public:
  static constexpr int kDefaultFrequency = 15000;

  // Opens the BrovaSmall on CAN device `deviceNumber` (1..63) at `frequencyHz` (0..20000) and
  // starts its keep-alive frames.
  explicit BrovaSmall(int deviceNumber, int frequencyHz = kDefaultFrequency)
      : Controller(deviceNumber, frequencyHz) {}

  // Drives the motor at `speed`: 1.0 is full output forward, -1.0 full reverse.
  void set(double speed) {
    detail::check(!std::isnan(speed), "speed is NaN");
    c_BrovaSmall_setMotorSpeed(open().handle, speed);
  }
  void disable() { c_BrovaSmall_disableMotor(open().handle); }
  void setFrequency(int hz) {
    detail::checkRange(hz, 0, 20000, "motor frequency");
    c_BrovaSmall_configureMotor(open().handle, hz);
  }
  void resetEncoder() { c_BrovaSmallEncoder_resetEncoder(open().handle); }
  void setDistancePerTick(double distance) { setPerTick(0, distance); }

  // Identity texts; each waits for the controller's reply (100 ms).
  std::string getFirmwareVersion() const { return c_BrovaSmall_getFirmwareVersion(open().handle); }
  std::string getHardwareVersion() const { return c_BrovaSmall_getHardwareVersion(open().handle); }
  std::string getSerialNumber() const { return c_BrovaSmall_getSerialNumber(open().handle); }

  // Direct reads; each waits for the controller's reply (100 ms).
  double getCurrentBlocking() const { return c_BrovaSmall_getCurrent(open().handle); }
  double getEncoderDistanceBlocking() const {
    return c_BrovaSmallEncoder_getEncoderDistance(open().handle, 1.0, 0, nullptr) * perTick(0);
  }

  // Refreshes the current and the encoder count on a thread of this object's own, one round
  // (2 queries, about 200 ms) at most every `period`.
  void startTelemetry(std::chrono::milliseconds period) {
    const int32_t handle = open().handle;
    open().telemetry.start(period, [handle](Cache& cache) {
      cache.store(kCurrent, c_BrovaSmall_getCurrent(handle));
      cache.store(kCount, c_BrovaSmallEncoder_getEncoderDistance(handle, 1.0, 0, nullptr));
    });
  }

  Reading getCurrent() const { return open().telemetry.get(kCurrent); }
  Reading getEncoderDistance() const { return distance(kCount, 0); }

 private:
  static constexpr size_t kCurrent = 0, kCount = 1;
};

// The Ferux analog board: four single-ended inputs, channels 0..3.
class Ferux {
 public:
  static constexpr int kChannels = 4;

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
      for (uint8_t c = 0; c < kChannels; ++c) cache.store(c, c_getVoltage(c));
    });
  }
  void stopTelemetry() { open().telemetry.stop(); }
  Reading getVoltage(int channel) const { return open().telemetry.get(check(channel)); }

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
  uint8_t check(int channel) const {
    open();
    detail::checkRange(channel, 0, kChannels - 1, "analog channel");
    return static_cast<uint8_t>(channel);
  }

  std::unique_ptr<State> state_;
};

}  // namespace brova

#endif  // BROVADRIVER_BROVADRIVER_HPP
