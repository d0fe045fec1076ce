// The BrovaQuad and BrovaSmall controllers as device models, independent of the bus they sit on.
//
// A model hears the frames of the controllers' message set addressed to its device number
// (hears), obeys each (hear) and returns its replies, which the bus it sits on delivers
// `latency()` after the request was sent. It behaves as the device does on the wire: it obeys
// configure, set speed, disable and reset-encoder frames, follows the robot's keep-alive, and
// answers queries. Its motors move by the physics below, evaluated exactly whenever someone looks
// (a frame, a getter, a setter) at the moment given, so nothing ticks while nothing happens. The
// model reads no clock: every function that needs the time takes it, and the model stands at the
// latest moment it was given (an earlier one changes nothing that already happened). Nothing here
// knows a bus or a thread: a model is not thread-safe, and the code that attaches it to a bus
// (brovasim::SimController on the simulated platform) serialises every call but model(),
// device(), channels() and hears(), which read only what construction fixed.
//
// What the controller answers:
// - Each query gets one reply (three for the serial number) in the layout the library decodes;
//   a query for a channel the model does not have is answered with zeros, as the device answers
//   any request it understands. The BrovaSmall does not answer the temperature and RPM queries,
//   which only the BrovaQuad has.
// - Commands for a channel the model does not have are ignored.
// - Replies hold the state at the moment the request was sent.
// - A model that does not answer (setAnswering(false)) still obeys commands and keep-alive
//   frames.
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
// take effect from the moment they are given.
//
// Holds, for a mechanism simulation that knows better than the model (a team's arm, whose speed
// and current its own physics computes): each takes effect from the moment given and lasts until
// released. A hold for a channel the model does not have is ignored.
// - holdRpm: the motor turns at exactly this speed from then on, whatever the output drives; the
//   encoder integrates it (rpm / 60 * countsPerRevolution counts per second), and the current
//   follows the physics above at that speed (an output that is not driven still draws nothing).
// - holdCurrent: the channel reports this current and heats the controller with it (its I^2),
//   whatever its output and speed; its speed still follows the model (or its held rpm).
// - setEncoderCount: the encoder reads this count at that moment and counts on from it (a
//   reset-encoder frame later resets it to 0 as usual). It is not a hold: nothing to release.
// - holdTemperature: the controller reports this temperature, whatever its currents, until
//   releaseTemperature, from which on it relaxes as above from the held value.
// - release: the channel's speed and current are the model's again; the speed relaxes from
//   where it was held. setLoad releases the channel's speed and current holds too.
// Held values are constants between events, so every integral (encoder, temperature) stays exact.
#pragma once

#include <array>
#include <chrono>
#include <cstdint>
#include <memory>
#include <vector>

#include "brovamodels/Clock.h"
#include "brovamodels/Parameters.h"

namespace brovamodels {

// A CAN frame of the controllers' message set: a 29-bit identifier and its eight data bytes.
struct Frame {
  uint32_t id = 0;
  std::array<uint8_t, 8> data{};
};

class Controller {
 public:
  enum class Model { Quad, Small };

  // The CAN device numbers a controller can have.
  static constexpr int kHighestDevice = 63;

  // What the identity queries report.
  struct Identity {
    std::array<uint8_t, 3> firmware{};
    uint8_t hardwareType = 0;  // 1: BrovaQuad, 2: BrovaSmall
    uint8_t hardwareVersion = 0;
    std::array<uint32_t, 3> serial{};
  };

  struct Options {
    // Between a request and its reply on the bus. Zero or less: the bus delivers at once.
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

  // A controller of `model` with CAN device number `device`, its physics standing at `start`.
  // Throws std::out_of_range for a device number outside 0..kHighestDevice.
  Controller(Model model, int device, const Options& options, Clock::time_point start);
  ~Controller();
  Controller(Controller&&) noexcept;
  Controller& operator=(Controller&&) noexcept;
  Controller(const Controller&) = delete;
  Controller& operator=(const Controller&) = delete;

  Model model() const { return model_; }
  int device() const { return device_; }
  int channels() const { return channels_; }

  // Whether `id` (its bits above the 29-bit identifier ignored) is a frame of the controllers'
  // message set addressed to this device.
  bool hears(uint32_t id) const;
  // Obeys a frame sent at `sent` and returns its replies: none for a command, a frame it does not
  // hear or does not know, or while it does not answer. They are due at sent + latency().
  std::vector<Frame> hear(uint32_t id, const std::array<uint8_t, 8>& data,
                          Clock::time_point sent);
  std::chrono::microseconds latency() const;

  void setAnswering(bool answering);
  bool answering() const;
  void setReplyLatency(std::chrono::microseconds latency);
  void setFreeSpeed(double rpm, Clock::time_point now);
  void setTimeConstant(double seconds, Clock::time_point now);
  void setCountsPerRevolution(int64_t counts);
  // Also releases the channel's speed and current holds.
  void setLoad(int channel, double fraction, Clock::time_point now);
  void setAmbient(double celsius, Clock::time_point now);
  void setIdentity(const Identity& identity);

  // The holds (above).
  void holdRpm(int channel, double rpm, Clock::time_point now);
  void holdCurrent(int channel, double amperes, Clock::time_point now);
  void setEncoderCount(int channel, int32_t count, Clock::time_point now);
  void holdTemperature(double celsius, Clock::time_point now);
  void releaseTemperature(Clock::time_point now);
  void release(int channel, Clock::time_point now);

  bool enabled(Clock::time_point now) const;
  // When the outputs switch off unless another active keep-alive frame comes; in the past while
  // disabled.
  Clock::time_point enabledUntil() const;
  double temperature(Clock::time_point now);
  // The state of `channel` at `now`; a channel the model does not have reads as all zeros.
  Channel channel(int channel, Clock::time_point now);
  // Requests heard and answered so far (the serial number's three replies count once).
  int answered() const;

 private:
  struct State;

  Model model_;
  int device_;
  int channels_;
  std::unique_ptr<State> state_;
};

}  // namespace brovamodels
