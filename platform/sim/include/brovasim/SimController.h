// Simulated BrovaQuad and BrovaSmall controllers on the simulated CAN buses, for tests, the demo
// and users' simulations.
//
// An attached controller hears every frame sent to its device number on its bus (bus 0 unless
// its options name another) and puts its replies on that bus. It behaves as the device
// does on the wire: it obeys configure, set speed, disable and reset-encoder frames, follows the
// robot's keep-alive, and answers queries by putting the reply frame on the bus after a reply
// latency. Its motors move by the physics below, evaluated exactly whenever someone looks (a
// query, a getter, a command), so no thread ticks while nothing happens. All functions are
// thread-safe.
//
// What the controller answers:
// - Each query gets one reply (three for the serial number) in the layout the library decodes;
//   a query for a channel the model does not have is answered with zeros, as the device answers
//   any request it understands. The BrovaSmall does not answer the temperature and RPM queries,
//   which only the BrovaQuad has.
// - Commands for a channel the model does not have are ignored.
// - Replies hold the state at the moment the request was heard.
//
// Enable state: the outputs are driven only while the robot says it is active. An active
// keep-alive frame enables them until `keepAliveTimeout` after the frame was sent (250 ms by
// default, the device's own watchdog); an inactive keep-alive frame disables them at once.
// Disabling keeps every commanded speed, so the next active keep-alive resumes them. The
// controller starts disabled, with every channel commanded to 0.
//
// Physics, per channel, with the output's duty d (the commanded speed clamped to [-1, 1] while
// the controller is enabled and the channel not disabled, else 0), free speed F (rpm), load
// fraction L in [0, 1], time constant tau, free current If and stall current Is:
// - Speed follows a first-order brushed DC motor: rpm -> d * F * (1 - L) with time constant
//   tau, that is rpm(t) = target + (rpm0 - target) * exp(-t / tau) between events.
// - Current, while the output is driven, is the armature current of a motor whose back-EMF is
//   proportional to its speed, plus friction: I = If * |d| + Is * |d - rpm / F|. It peaks when
//   the motor accelerates from rest (Is * |d|), falls to If * |d| at free speed, and stays at
//   If * |d| + Is * |d| * L under load. A driven output at duty 0 brakes (current flows while
//   the motor slows); an output that is not driven draws nothing and the motor coasts to rest,
//   with the same time constant for simplicity. A free speed of 0 is a locked rotor: it never
//   turns and draws If * |d| + Is * |d|. A time constant of 0 follows at once.
// - Temperature (one per controller) relaxes with its own time constant towards ambient plus
//   `risePerSquareAmpere` times the sum over channels of I^2. Because I(t) is known in closed
//   form between events, the temperature is integrated exactly too.
// - The encoder counts the motor's revolutions since its last reset: count = floor(revolutions *
//   countsPerRevolution), signed, wrapping as a 32-bit counter; revolutions are the exact
//   integral of rpm.
// Reported values saturate where the reply byte layout ends: current and temperature at 255.99,
// rpm at 65535 (its magnitude; the sign shows only in the encoder), and a temperature below 0 °C
// reads 0. The BrovaSmall's current is whole amperes, rounded. Setters that change the physics
// take effect from the moment they are called.
#pragma once

#include <array>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "brovasim/SimCan.h"

namespace brovasim {

// One channel's motor.
struct MotorParameters {
  double freeSpeedRpm = 5000.0;
  double timeConstantSeconds = 0.15;
  double freeCurrentAmperes = 1.0;
  double stallCurrentAmperes = 30.0;
};

// The controller's heat balance.
struct ThermalParameters {
  double ambientCelsius = 25.0;
  double risePerSquareAmpere = 0.02;  // °C above ambient, at equilibrium, per A^2 drawn
  double timeConstantSeconds = 30.0;
};

class SimController {
 public:
  enum class Model { Quad, Small };

  // What the identity queries report.
  struct Identity {
    std::array<uint8_t, 3> firmware{};
    uint8_t hardwareType = 0;  // 1: BrovaQuad, 2: BrovaSmall
    uint8_t hardwareVersion = 0;
    std::array<uint32_t, 3> serial{};
  };

  struct Options {
    // The simulated bus the controller is on: 0..can::kBuses-1.
    int bus = 0;
    // Between hearing a request and putting its reply on the bus. Zero or less answers at once,
    // in the thread that sent the request, which makes a test independent of thread scheduling.
    std::chrono::microseconds replyLatency = std::chrono::milliseconds(2);
    std::chrono::milliseconds keepAliveTimeout{250};
    MotorParameters motor;
    ThermalParameters thermal;
    int64_t countsPerRevolution = 2048;
    Identity identity;
  };

  // A channel's state at one moment.
  struct Channel {
    Clock::time_point at;
    double commandedSpeed = 0.0;  // as last set over the bus, -2.55..2.55
    bool outputOn = false;        // enabled and not disabled by a disable frame
    double appliedDuty = 0.0;     // what the output drives, -1..1
    double rpm = 0.0;             // signed
    double currentAmperes = 0.0;
    int32_t encoderCount = 0;
    uint16_t frequency = 0;  // as last configured; 0 before the first configure
    double load = 0.0;
  };

  // The defaults of a model: a BrovaQuad's channels run free at 5000 rpm, a BrovaSmall's at
  // 6000 rpm with a larger motor; each reports its own hardware type.
  static Options defaults(Model model);

  // A controller of `model` with CAN device number `device`, hearing its bus from now on. Throws
  // std::out_of_range for a device number outside 0..63 or a bus outside 0..can::kBuses-1. The
  // bus's reset() forgets the controller's subscription: attach after resetting the bus.
  static std::shared_ptr<SimController> attach(Model model, int device);
  static std::shared_ptr<SimController> attach(Model model, int device, const Options& options);

  // Stops hearing the bus and drops replies not yet sent; when it returns, the controller puts
  // nothing more on the bus. Also done when the last owner lets go.
  void detach();
  ~SimController();
  SimController(const SimController&) = delete;
  SimController& operator=(const SimController&) = delete;

  Model model() const { return model_; }
  int device() const { return device_; }
  int bus() const { return bus_; }
  int channels() const { return channelCount_; }

  // A controller that does not answer still obeys commands and keep-alive frames.
  void setAnswering(bool answering);
  void setReplyLatency(std::chrono::microseconds latency);
  void setFreeSpeed(double rpm);
  void setTimeConstant(double seconds);
  void setCountsPerRevolution(int64_t counts);
  void setLoad(int channel, double fraction);
  void setAmbient(double celsius);
  void setIdentity(const Identity& identity);

  bool enabled() const;
  // When the outputs switch off unless another active keep-alive frame comes; in the past while
  // disabled.
  Clock::time_point enabledUntil() const;
  double temperature() const;
  // The state of `channel` now; a channel the model does not have reads as all zeros.
  Channel channel(int channel) const;
  // Requests heard and answered so far (the serial number's three replies count once).
  int answered() const;

 private:
  struct State;
  struct Reply {
    uint32_t id = 0;
    std::array<uint8_t, 8> data{};
  };

  SimController(Model model, int device, const Options& options);
  void hear(const SentFrame& frame);
  void send(const std::vector<Reply>& replies);
  // The worker's loop: puts each pending reply on the bus when it is due.
  void deliverWhenDue();

  const Model model_;
  const int device_;
  const int bus_;
  const int channelCount_;

  mutable std::mutex mutex_;
  // Guarded by mutex_. Readers bring its physics up to date too, so const getters change it.
  std::unique_ptr<State> state_;
  bool attached_ = true;
  // Replies waiting for their time, in the order they are due (equal times in the order heard).
  std::multimap<Clock::time_point, Reply> pending_;
  std::condition_variable wake_;

  // Held while a reply goes onto the bus, so detach can wait for the last one.
  std::mutex sendMutex_;
  bool sending_ = true;

  std::once_flag detached_;
  int subscription_ = 0;
  // Last: it starts in the constructor and uses everything above.
  std::thread worker_;
};

}  // namespace brovasim
