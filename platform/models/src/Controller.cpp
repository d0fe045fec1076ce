// The controllers' device model: what they hear, obey and answer, and their physics.
#include "brovamodels/Controller.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <stdexcept>

#include "MotorPhysics.h"

namespace brovamodels {
namespace {

using Bytes = std::array<uint8_t, 8>;

// A 29-bit identifier is device type 2 | manufacturer 12 | API number (bits 15..6) | device
// number (bits 5..0). The controllers hear the frames of their type and manufacturer.
constexpr uint32_t kIdentifierMask = 0x1FFFFFFF;
constexpr uint32_t kControllerBase = 0x020C0000;
constexpr uint32_t kApiShift = 6;
constexpr uint32_t kApiMask = 0x3FF;
constexpr uint32_t kDeviceMask = 0x3F;

// API numbers of the frames the controllers hear and send.
constexpr uint32_t kDeviceIdRequest = 0;
constexpr uint32_t kDeviceIdReply = 1;
constexpr uint32_t kFirmwareRequest = 2;
constexpr uint32_t kFirmwareReply = 3;
constexpr uint32_t kHardwareRequest = 4;
constexpr uint32_t kHardwareReply = 5;
constexpr uint32_t kSerialRequest = 6;
constexpr uint32_t kSerialWordReplies[3] = {7, 8, 9};
constexpr uint32_t kConfigureMotor = 10;
constexpr uint32_t kFrequencyRequest = 11;
constexpr uint32_t kFrequencyReply = 12;
constexpr uint32_t kDisableMotor = 13;
constexpr uint32_t kSetMotorSpeed = 14;
constexpr uint32_t kCurrentRequest = 15;
constexpr uint32_t kCurrentReply = 16;
constexpr uint32_t kEncoderRequest = 17;
constexpr uint32_t kEncoderReply = 18;
constexpr uint32_t kResetEncoder = 19;
constexpr uint32_t kKeepAliveInactive = 20;
constexpr uint32_t kKeepAliveActive = 21;
constexpr uint32_t kTemperatureRequest = 23;
constexpr uint32_t kTemperatureReply = 24;
constexpr uint32_t kRpmRequest = 25;
constexpr uint32_t kRpmReply = 26;

// What differs between the two models: their channels, what they report and how, and what they
// come with.
struct Description {
  int channels;
  // Only the BrovaQuad has a temperature sensor and reports its motors' speed.
  bool reportsTemperatureAndRpm;
  // The BrovaQuad reports current as whole amperes and hundredths; the BrovaSmall as whole
  // amperes split over two bytes that the reader adds.
  bool currentInHundredths;
  MotorParameters motor;
  Controller::Identity identity;
};

constexpr Description kQuad{
    .channels = 4,
    .reportsTemperatureAndRpm = true,
    .currentInHundredths = true,
    .motor = {.freeSpeedRpm = 5000.0,
              .timeConstantSeconds = 0.15,
              .freeCurrentAmperes = 1.0,
              .stallCurrentAmperes = 30.0},
    .identity = {.firmware = {1, 4, 2},
                 .hardwareType = 1,
                 .hardwareVersion = 3,
                 .serial = {0x42525651, 0x00010001, 0x00000517}},  // "BRVQ"
};
constexpr Description kSmall{
    .channels = 1,
    .reportsTemperatureAndRpm = false,
    .currentInHundredths = false,
    .motor = {.freeSpeedRpm = 6000.0,
              .timeConstantSeconds = 0.15,
              .freeCurrentAmperes = 1.5,
              .stallCurrentAmperes = 60.0},
    .identity = {.firmware = {1, 2, 0},
                 .hardwareType = 2,
                 .hardwareVersion = 1,
                 .serial = {0x42525653, 0x00010001, 0x00000A2C}},  // "BRVS"
};

const Description& describe(Controller::Model model) {
  return model == Controller::Model::Quad ? kQuad : kSmall;
}

// Byte 1 is the magnitude in hundredths, byte 2 says "at least 0" and byte 3 "at most 0". Both
// set is zero; neither set is what the library sends for a speed that is not a number, which the
// controller takes as a stop.
double decodeSpeed(const Bytes& data) {
  const bool atLeastZero = data[2] != 0;
  const bool atMostZero = data[3] != 0;
  if (atLeastZero == atMostZero) return 0.0;
  const double magnitude = data[1] / 100.0;
  return atLeastZero ? magnitude : -magnitude;
}

void putLittleEndian(uint32_t word, int bytes, Bytes& out) {
  for (int i = 0; i < bytes; ++i) out[i] = static_cast<uint8_t>(word >> (8 * i));
}

// Whole units in byte 0, hundredths in byte 1; the layout holds 0..255.99.
void putWholeAndHundredths(double value, Bytes& out) {
  const auto hundredths = std::llround(std::clamp(value * 100.0, 0.0, 25599.0));
  out[0] = static_cast<uint8_t>(hundredths / 100);
  out[1] = static_cast<uint8_t>(hundredths % 100);
}

// Whole units over bytes 0 and 1, which the reader adds; the layout holds 0..510.
void putSplitWhole(double value, Bytes& out) {
  const auto whole = std::llround(std::clamp(value, 0.0, 510.0));
  out[0] = static_cast<uint8_t>(std::min<long long>(whole, 255));
  out[1] = static_cast<uint8_t>(whole - out[0]);
}

// A 32-bit hardware counter counting on from `base`: it wraps.
int32_t encoderCount(double revolutions, int64_t countsPerRevolution, int32_t base) {
  const double counts = std::floor(revolutions * static_cast<double>(countsPerRevolution));
  if (!std::isfinite(counts)) return 0;
  const auto wrapped = static_cast<int64_t>(std::fmod(counts + base, 4294967296.0));
  return static_cast<int32_t>(static_cast<uint32_t>(wrapped));
}

}  // namespace

// The device itself: its settings, its outputs and its motors.
struct Controller::State {
  struct Output {
    double commanded = 0.0;
    bool disabled = false;
    uint16_t frequency = 0;
    double load = 0.0;
    // Held from outside the model (holdRpm, holdCurrent).
    std::optional<double> heldRpm;
    std::optional<double> heldCurrent;
    // The count the encoder counts on from (setEncoderCount); 0 after a reset.
    int32_t encoderBase = 0;
  };

  const Description& description;
  const int device;
  Options options;
  bool answering = true;
  int answered = 0;
  // The outputs are enabled before this moment.
  Clock::time_point activeUntil{};
  // The moment the physics below stands at.
  Clock::time_point time;
  std::vector<Output> outputs;
  std::vector<physics::Winding> windings;
  double temperature;
  std::optional<double> heldTemperature;

  State(Model model, int device, const Options& options, Clock::time_point start)
      : description(describe(model)),
        device(device),
        options(options),
        time(start),
        outputs(description.channels),
        windings(description.channels),
        temperature(options.thermal.ambientCelsius) {}

  bool has(int channel) const { return channel >= 0 && channel < description.channels; }

  bool enabledAt(Clock::time_point at) const { return at < activeUntil; }

  physics::Drive drive(size_t channel, bool enabled) const {
    const Output& output = outputs[channel];
    const bool on = enabled && !output.disabled;
    return {.on = on,
            .duty = on ? std::clamp(output.commanded, -1.0, 1.0) : 0.0,
            .load = output.load,
            .heldRpm = output.heldRpm,
            .heldCurrent = output.heldCurrent};
  }

  // Brings the physics up to `at`, switching the outputs off where the keep-alive ran out.
  void advanceTo(Clock::time_point at) {
    if (at <= time) return;
    if (time < activeUntil && activeUntil < at) integrate(activeUntil, true);
    integrate(at, enabledAt(time));
  }

  void integrate(Clock::time_point until, bool enabled) {
    std::vector<physics::Drive> drives;
    for (size_t i = 0; i < outputs.size(); ++i) drives.push_back(drive(i, enabled));
    physics::advance(windings, drives, options.motor, options.thermal, temperature,
                     std::chrono::duration<double>(until - time).count());
    if (heldTemperature) temperature = *heldTemperature;
    time = until;
  }

  // The channel's speed and current are the model's again; the speed relaxes from where it is.
  void release(int channel) {
    outputs[channel].heldRpm.reset();
    outputs[channel].heldCurrent.reset();
  }

  Channel channel(int number) const {
    if (!has(number)) return {.at = time};
    const physics::Drive d = drive(number, enabledAt(time));
    const physics::Winding& w = windings[number];
    const Output& o = outputs[number];
    return {.at = time,
            .commandedSpeed = o.commanded,
            .outputOn = d.on,
            .appliedDuty = d.duty,
            .rpm = w.rpm,
            .currentAmperes = physics::current(w, d, options.motor),
            .encoderCount = encoderCount(w.revolutions, options.countsPerRevolution, o.encoderBase),
            .frequency = o.frequency,
            .load = o.load};
  }

  // Applies a frame sent at `sent`; the physics already stands at the moment it is heard.
  void obey(uint32_t api, const Bytes& data, Clock::time_point sent) {
    Output* output = data[0] < outputs.size() ? &outputs[data[0]] : nullptr;
    switch (api) {
      case kKeepAliveActive: activeUntil = sent + options.keepAliveTimeout; break;
      case kKeepAliveInactive: activeUntil = std::min(activeUntil, time); break;
      case kConfigureMotor:
        if (output) output->frequency = static_cast<uint16_t>(data[1] | data[2] << 8);
        break;
      case kSetMotorSpeed:
        if (output) {
          output->commanded = decodeSpeed(data);
          output->disabled = false;
        }
        break;
      case kDisableMotor:
        if (output) output->disabled = true;
        break;
      case kResetEncoder:
        if (output) {
          windings[data[0]].revolutions = 0.0;
          output->encoderBase = 0;
        }
        break;
      default: break;
    }
  }

  Frame reply(uint32_t api, const Bytes& data) const {
    return {kControllerBase | api << kApiShift | static_cast<uint32_t>(device), data};
  }

  // The replies to a request; none for a frame that is not one.
  std::vector<Frame> answer(uint32_t api, const Bytes& request) const {
    const Identity& identity = options.identity;
    const Channel asked = channel(request[0]);
    Bytes out{};
    switch (api) {
      case kDeviceIdRequest:
        out[0] = static_cast<uint8_t>(device);
        return {reply(kDeviceIdReply, out)};
      case kFirmwareRequest:
        std::copy(identity.firmware.begin(), identity.firmware.end(), out.begin());
        return {reply(kFirmwareReply, out)};
      case kHardwareRequest:
        out = {identity.hardwareType, identity.hardwareVersion};
        return {reply(kHardwareReply, out)};
      case kSerialRequest: {
        std::vector<Frame> words;
        for (int i = 0; i < 3; ++i) {
          out = {};
          putLittleEndian(identity.serial[i], 4, out);
          words.push_back(reply(kSerialWordReplies[i], out));
        }
        return words;
      }
      case kFrequencyRequest:
        putLittleEndian(outputs[0].frequency, 2, out);
        return {reply(kFrequencyReply, out)};
      case kCurrentRequest:
        if (description.currentInHundredths) {
          putWholeAndHundredths(asked.currentAmperes, out);
        } else {
          putSplitWhole(asked.currentAmperes, out);
        }
        return {reply(kCurrentReply, out)};
      case kEncoderRequest:
        putLittleEndian(static_cast<uint32_t>(asked.encoderCount), 4, out);
        return {reply(kEncoderReply, out)};
      case kTemperatureRequest:
        if (!description.reportsTemperatureAndRpm) return {};
        putWholeAndHundredths(temperature, out);
        return {reply(kTemperatureReply, out)};
      case kRpmRequest:
        if (!description.reportsTemperatureAndRpm) return {};
        putLittleEndian(static_cast<uint32_t>(std::min(std::round(std::fabs(asked.rpm)), 65535.0)),
                        2, out);
        return {reply(kRpmReply, out)};
      default: return {};
    }
  }
};

Controller::Options Controller::defaults(Model model) {
  Options options;
  options.motor = describe(model).motor;
  options.identity = describe(model).identity;
  return options;
}

Controller::Controller(Model model, int device, const Options& options, Clock::time_point start)
    : model_(model), device_(device), channels_(describe(model).channels) {
  if (device < 0 || device > kHighestDevice) {
    throw std::out_of_range("CAN device numbers are 0..63");
  }
  state_ = std::make_unique<State>(model, device, options, start);
}

Controller::~Controller() = default;
Controller::Controller(Controller&&) noexcept = default;
Controller& Controller::operator=(Controller&&) noexcept = default;

bool Controller::hears(uint32_t id) const {
  id &= kIdentifierMask;
  return (id & ~(kApiMask << kApiShift | kDeviceMask)) == kControllerBase &&
         static_cast<int>(id & kDeviceMask) == device_;
}

std::vector<Frame> Controller::hear(uint32_t id, const std::array<uint8_t, 8>& data,
                                    Clock::time_point sent) {
  if (!hears(id)) return {};
  const uint32_t api = ((id & kIdentifierMask) >> kApiShift) & kApiMask;
  State& s = *state_;
  s.advanceTo(sent);
  s.obey(api, data, sent);
  if (!s.answering) return {};
  std::vector<Frame> replies = s.answer(api, data);
  if (!replies.empty()) ++s.answered;
  return replies;
}

std::chrono::microseconds Controller::latency() const { return state_->options.replyLatency; }

void Controller::setAnswering(bool answering) { state_->answering = answering; }

bool Controller::answering() const { return state_->answering; }

void Controller::setReplyLatency(std::chrono::microseconds latency) {
  state_->options.replyLatency = latency;
}

// Settings that change the physics take effect from `now`: the past is integrated with the old.
void Controller::setFreeSpeed(double rpm, Clock::time_point now) {
  state_->advanceTo(now);
  state_->options.motor.freeSpeedRpm = rpm;
}

void Controller::setTimeConstant(double seconds, Clock::time_point now) {
  state_->advanceTo(now);
  state_->options.motor.timeConstantSeconds = seconds;
}

void Controller::setCountsPerRevolution(int64_t counts) {
  state_->options.countsPerRevolution = counts;
}

void Controller::setLoad(int channel, double fraction, Clock::time_point now) {
  if (!state_->has(channel)) return;
  state_->advanceTo(now);
  state_->outputs[channel].load = std::clamp(fraction, 0.0, 1.0);
  state_->release(channel);
}

void Controller::setAmbient(double celsius, Clock::time_point now) {
  state_->advanceTo(now);
  state_->options.thermal.ambientCelsius = celsius;
}

void Controller::setIdentity(const Identity& identity) { state_->options.identity = identity; }

void Controller::holdRpm(int channel, double rpm, Clock::time_point now) {
  if (!state_->has(channel)) return;
  state_->advanceTo(now);
  state_->outputs[channel].heldRpm = rpm;
  state_->windings[channel].rpm = rpm;
}

void Controller::holdCurrent(int channel, double amperes, Clock::time_point now) {
  if (!state_->has(channel)) return;
  state_->advanceTo(now);
  state_->outputs[channel].heldCurrent = amperes;
}

void Controller::setEncoderCount(int channel, int32_t count, Clock::time_point now) {
  if (!state_->has(channel)) return;
  state_->advanceTo(now);
  state_->windings[channel].revolutions = 0.0;
  state_->outputs[channel].encoderBase = count;
}

void Controller::holdTemperature(double celsius, Clock::time_point now) {
  state_->advanceTo(now);
  state_->heldTemperature = celsius;
  state_->temperature = celsius;
}

void Controller::releaseTemperature(Clock::time_point now) {
  state_->advanceTo(now);
  state_->heldTemperature.reset();
}

void Controller::release(int channel, Clock::time_point now) {
  if (!state_->has(channel)) return;
  state_->advanceTo(now);
  state_->release(channel);
}

bool Controller::enabled(Clock::time_point now) const { return state_->enabledAt(now); }

Clock::time_point Controller::enabledUntil() const { return state_->activeUntil; }

double Controller::temperature(Clock::time_point now) {
  state_->advanceTo(now);
  return state_->temperature;
}

Controller::Channel Controller::channel(int channel, Clock::time_point now) {
  state_->advanceTo(now);
  return state_->channel(channel);
}

int Controller::answered() const { return state_->answered; }

}  // namespace brovamodels
