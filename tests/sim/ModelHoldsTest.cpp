// The controller model's holds, through brovamodels::Controller alone (no bus, no thread), at
// explicit time points: what a mechanism simulation holds is what the model reports, the
// integrals over held values are exact, and releasing gives the channel back to the model.
#include <array>
#include <chrono>
#include <cmath>
#include <functional>

#include <gtest/gtest.h>

#include "brovamodels/Controller.h"

namespace {

using brovamodels::Clock;
using brovamodels::Controller;
using Bytes = std::array<uint8_t, 8>;
using namespace std::chrono_literals;

constexpr int kDevice = 5;
// Any moment will do: the model reads no clock.
const Clock::time_point kStart = Clock::time_point{} + 1h;

Clock::time_point at(Clock::duration since) { return kStart + since; }

// API numbers (platform/models/src/Controller.cpp).
constexpr uint32_t kSetSpeed = 14, kCurrent = 15, kEncoder = 17, kResetEncoder = 19,
                   kKeepAlive = 21, kTemperature = 23, kRpm = 25;
constexpr uint32_t id(uint32_t api) { return 0x020C0000 | api << 6 | kDevice; }

// The one reply to a query for `channel`, as the bus would carry it.
Bytes ask(Controller& c, uint32_t api, int channel, Clock::duration when) {
  const auto replies = c.hear(id(api), {static_cast<uint8_t>(channel)}, at(when));
  return replies.size() == 1 ? replies[0].data : Bytes{0xEE, 0xEE};
}

// Channel `channel` driven at `duty` (0..1) from `when`.
void drive(Controller& c, int channel, double duty, Clock::duration when) {
  c.hear(id(kSetSpeed), {static_cast<uint8_t>(channel), static_cast<uint8_t>(duty * 100), 1, 0},
         at(when));
}

// What a row reads at its moment: a reply's value, or the model's own.
using Observe = std::function<double(Controller&, Clock::duration)>;
Observe encoderReply(int channel) {
  return [=](Controller& c, Clock::duration when) {
    const Bytes d = ask(c, kEncoder, channel, when);
    return static_cast<double>(static_cast<int32_t>(d[0] | d[1] << 8 | d[2] << 16 |
                                                    static_cast<uint32_t>(d[3]) << 24));
  };
}
Observe currentReply(int channel) {
  return [=](Controller& c, Clock::duration when) {
    const Bytes d = ask(c, kCurrent, channel, when);
    return d[0] + d[1] / 100.0;
  };
}
Observe temperatureReply() {
  return [](Controller& c, Clock::duration when) {
    const Bytes d = ask(c, kTemperature, 0, when);
    return d[0] + d[1] / 100.0;
  };
}
Observe rpmReply(int channel) {
  return [=](Controller& c, Clock::duration when) {
    const Bytes d = ask(c, kRpm, channel, when);
    return static_cast<double>(d[0] | d[1] << 8);
  };
}
Observe rpm(int channel) {
  return [=](Controller& c, Clock::duration when) { return c.channel(channel, at(when)).rpm; };
}
Observe current(int channel) {
  return [=](Controller& c, Clock::duration when) {
    return c.channel(channel, at(when)).currentAmperes;
  };
}
Observe temperature() {
  return [](Controller& c, Clock::duration when) { return c.temperature(at(when)); };
}
// Everything the four channels and a fifth report, added up: 0 while nothing moves.
Observe anything() {
  return [](Controller& c, Clock::duration when) {
    double sum = 0.0;
    for (int channel = -1; channel <= 4; ++channel) {
      const Controller::Channel s = c.channel(channel, at(when));
      sum += std::fabs(s.rpm) + std::fabs(s.currentAmperes) + std::abs(s.encoderCount);
    }
    return sum;
  };
}

TEST(SimModelHolds, HeldValuesAreWhatTheModelReportsUntilReleased) {
  // The BrovaQuad's defaults: free speed 5000 rpm, tau 0.15 s, If 1 A, Is 30 A, 2048 counts per
  // revolution; ambient 25 °C, 0.02 °C per A^2, thermal tau 30 s.
  const double e1 = std::exp(-1.0);
  const struct {
    const char* name;
    std::function<void(Controller&)> act;
    Clock::duration when;
    Observe observe;
    double expected;
    double tolerance = 0.0;
  } rows[] = {
      {"a held rpm drives the encoder at rpm / 60 * cpr counts per second",
       [](Controller& c) { c.holdRpm(1, 600, at(0s)); }, 1s, encoderReply(1), 600.0 / 60 * 2048},
      {"backwards too, whatever the output drives",
       [](Controller& c) {
         drive(c, 1, 0.8, 0s);
         c.holdRpm(1, -300, at(0s));
       },
       2s, encoderReply(1), -300.0 / 60 * 2 * 2048},
      {"a held rpm is what the rpm reply carries",
       [](Controller& c) {
         drive(c, 3, 0.5, 0s);
         c.holdRpm(3, 1234, at(0s));
       },
       1s, rpmReply(3), 1234},
      {"the current follows the physics at the held rpm: If*d + Is*|d - rpm/F|",
       [](Controller& c) {
         drive(c, 1, 0.5, 0s);
         c.holdRpm(1, 1000, at(0s));
       },
       1s, current(1), 1.0 * 0.5 + 30 * (0.5 - 1000.0 / 5000), 1e-9},
      {"a held current is what the current reply carries",
       [](Controller& c) { c.holdCurrent(2, 12.34, at(0s)); }, 1s, currentReply(2), 12.34, 1e-9},
      {"a held current heats towards ambient + rise * I^2",
       [](Controller& c) { c.holdCurrent(0, 10, at(0s)); }, 30s, temperature(),
       25 + 0.02 * 10 * 10 * (1 - e1), 1e-9},
      {"setEncoderCount re-bases the count, which counts on from it",
       [](Controller& c) {
         c.holdRpm(1, 600, at(0s));
         c.setEncoderCount(1, -1000, at(1s));
       },
       2s, encoderReply(1), -1000 + 600.0 / 60 * 2048},
      {"a reset-encoder frame still resets a set count to 0",
       [](Controller& c) {
         c.setEncoderCount(0, 500, at(0s));
         c.hear(id(kResetEncoder), {0}, at(1s));
       },
       2s, encoderReply(0), 0},
      {"a held temperature is what the temperature reply carries, whatever the heat",
       [](Controller& c) {
         c.holdCurrent(0, 50, at(0s));
         c.holdTemperature(47.5, at(0s));
       },
       60s, temperatureReply(), 47.5, 1e-9},
      {"a released temperature relaxes from the held value",
       [](Controller& c) {
         c.holdTemperature(45, at(0s));
         c.releaseTemperature(at(10s));
       },
       40s, temperature(), 25 + 20 * e1, 1e-9},
      {"release gives the speed back to the model, relaxing from where it was held",
       [](Controller& c) {
         drive(c, 1, 0.5, 0s);
         c.holdRpm(1, 4000, at(0s));
         c.release(1, at(1s));
       },
       1150ms, rpm(1), 2500 + (4000 - 2500) * e1, 1e-6},
      {"release gives the current back to the model",
       [](Controller& c) {
         c.holdCurrent(2, 20, at(0s));
         c.release(2, at(1s));
       },
       2s, current(2), 0},
      {"setLoad releases the speed hold",
       [](Controller& c) {
         drive(c, 1, 0.5, 0s);
         c.holdRpm(1, 4000, at(0s));
         c.setLoad(1, 0.2, at(1s));
       },
       1150ms, rpm(1), 2000 + (4000 - 2000) * e1, 1e-6},
      {"setLoad releases the current hold",
       [](Controller& c) {
         c.holdCurrent(2, 20, at(0s));
         c.setLoad(2, 0.5, at(1s));
       },
       2s, current(2), 0},
      {"a channel the model does not have is ignored",
       [](Controller& c) {
         for (int channel : {-1, 4}) {
           c.holdRpm(channel, 600, at(0s));
           c.holdCurrent(channel, 20, at(0s));
           c.setEncoderCount(channel, 700, at(0s));
         }
       },
       1s, anything(), 0},
  };
  for (const auto& row : rows) {
    auto options = Controller::defaults(Controller::Model::Quad);
    options.keepAliveTimeout = std::chrono::hours(1);
    Controller controller(Controller::Model::Quad, kDevice, options, kStart);
    controller.hear(id(kKeepAlive), {}, kStart);
    row.act(controller);
    EXPECT_NEAR(row.observe(controller, row.when), row.expected, row.tolerance) << row.name;
  }
}

}  // namespace
