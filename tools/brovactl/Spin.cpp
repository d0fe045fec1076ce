// spin: one channel driven at a speed for a while through the C++ object API, then stopped
// safely (motor disabled, controller closed, robot disabled) however the run ends.
#include <cstdio>
#include <functional>
#include <optional>
#include <string>

#include "Backend.h"
#include "BrovaDriver.hpp"
#include "Commands.h"
#include "StopRequest.h"

namespace brovactl {
namespace {

// The speed is sent again this often, and the enable renewed: a lost frame costs one period.
constexpr std::chrono::milliseconds kRefresh{100};
// How long an enable lasts unless renewed: if brovactl hangs, the robot disables by itself.
constexpr std::chrono::milliseconds kEnableLease{500};
constexpr std::chrono::seconds kStatusEvery{1};

// The one channel being driven, whichever model holds it.
struct Drive {
  std::function<void(double)> set;
  std::function<std::string()> status;
  std::function<void()> stop;  // disable the motor, close the controller
};

Drive driveQuad(int device, int bus, int frequency, int motor) {
  auto quad = std::make_shared<brova::BrovaQuad>(device, brova::CanBus{bus}, frequency);
  return {
      [quad, motor](double speed) { quad->set(motor, speed); },
      [quad, motor] {
        char text[64];
        std::snprintf(text, sizeof text, "current %.2f A  rpm %.0f",
                      quad->getCurrentBlocking(motor), quad->getRPMBlocking(motor));
        return std::string(text);
      },
      [quad, motor] {
        quad->disable(motor);
        quad->close();
      },
  };
}

Drive driveSmall(int device, int bus, int frequency) {
  auto small = std::make_shared<brova::BrovaSmall>(device, brova::CanBus{bus}, frequency);
  return {
      [small](double speed) { small->set(speed); },
      [small] {
        char text[64];
        std::snprintf(text, sizeof text, "current %.2f A", small->getCurrentBlocking());
        return std::string(text);
      },
      [small] {
        small->disable();
        small->close();
      },
  };
}

// Stops the drive and disables the robot when the run ends, by its end, a stop request or an
// exception alike.
class SafeStop {
 public:
  SafeStop(Drive& drive, bool enabled) : drive_(drive), enabled_(enabled) {}
  ~SafeStop() {
    drive_.stop();
    if (enabled_) disableRobot();
  }

 private:
  Drive& drive_;
  bool enabled_;
};

int spin(const Io& io) {
  const auto& args = io.arguments;
  const Target target = targetOf(args, false);
  const bool quad = target.model == Model::Quad;
  if (quad && !args.has("--motor")) throw UsageError("--quad needs --motor M (0..3)");
  if (!quad && args.has("--motor"))
    throw UsageError("--motor is for a BrovaQuad; a BrovaSmall has one");
  const int motor = args.integer("--motor", 0, brova::BrovaQuad::kChannels - 1).value_or(0);
  const auto speed = args.number("--speed", -1.0, 1.0);
  const auto seconds = args.number("--seconds", 0.05, 3600.0);
  if (!speed) throw UsageError("--speed S (-1..1) is needed");
  if (!seconds) throw UsageError("--seconds T is needed");
  const int frequency =
      args.integer("--frequency", brova::kLowestFrequency, brova::kHighestFrequency)
          .value_or(brova::BrovaQuad::kDefaultFrequency);
  const bool enable = args.has("--enable");
  if (!io.openBus()) return kFailed;

  // Opening a controller that is not there would configure nothing and spin nothing.
  const int bus = busOf(io.arguments);
  brova::tools::DeviceQuestions questions(target.device, bus);
  if (!questions.askDeviceId(brova::tools::replyPause(*target.model))) {
    io.err << "brovactl spin: device " << target.device << " does not answer\n";
    return kFailed;
  }

  std::optional<Drive> drive;
  try {
    drive = quad ? driveQuad(target.device, bus, frequency, motor)
                 : driveSmall(target.device, bus, frequency);
  } catch (const std::exception& error) {
    io.err << "brovactl spin: " << error.what() << "\n";
    return kFailed;
  }
  const std::string what = std::string(nameOf(target.model)) + " device " +
                           std::to_string(target.device) + " motor " + std::to_string(motor);
  bool interrupted = false;
  {
    const SafeStop safeStop(*drive, enable);
    if (enable) enableRobot(kEnableLease);
    char intro[128];
    std::snprintf(intro, sizeof intro, "spinning %s at %+.2f for %.1f s%s\n", what.c_str(), *speed,
                  *seconds, enable ? ", robot enabled" : " (robot not enabled by brovactl)");
    io.out << intro << std::flush;

    const auto start = Clock::now();
    const auto end = start + std::chrono::duration_cast<Clock::duration>(
                                 std::chrono::duration<double>(*seconds));
    auto nextStatus = start + kStatusEvery;
    for (;;) {
      drive->set(*speed);
      if (enable) enableRobot(kEnableLease);
      if (waitUntilOrStop(std::min(end, Clock::now() + kRefresh))) {
        interrupted = true;
        break;
      }
      const auto now = Clock::now();
      if (now >= end) break;
      if (now >= nextStatus) {
        const std::chrono::duration<double> since = now - start;
        char at[32];
        std::snprintf(at, sizeof at, "t=%.1f s  ", since.count());
        io.out << "  " << at << drive->status() << "\n" << std::flush;
        nextStatus += kStatusEvery;
      }
    }
  }
  io.out << (interrupted ? "interrupted" : "done") << ": motor disabled, controller closed"
         << (enable ? ", robot disabled" : "") << "\n";
  return kOk;
}

}  // namespace

const Command kSpin{
    .name = "spin",
    .summary = "drive one channel at a speed for a while, then stop it safely",
    .help =
        "usage: brovactl spin (--quad N --motor M | --small N) --speed S --seconds T\n"
        "                     [--frequency HZ] [--enable]\n"
        "Opens the controller (configure + keep-alive), drives the channel at the speed,\n"
        "sending it again every 100 ms, and prints the current (and RPM) every second. At\n"
        "the end, on Ctrl-C or on SIGTERM the motor is disabled and the controller closed.\n"
        "The outputs only drive while the robot is enabled.\n"
        "Exit status: 0 done (also when stopped early), 1 the device does not answer or\n"
        "cannot be opened, 2 bad usage.\n\n"
        "  --quad N           a BrovaQuad with device number N (1..63)\n"
        "  --motor M          its channel, 0..3\n"
        "  --small N          a BrovaSmall with device number N (1..63)\n"
        "  --speed S          -1..1 (1 full forward)\n"
        "  --seconds T        how long, 0.05..3600\n"
        "  --frequency HZ     PWM frequency, 0..20000 (default 15000)\n"
        "  --enable           enable the robot for the run (renewed while spinning,\n"
        "                     disabled at the end)\n",
    .options = {{"--quad"},
                {"--motor"},
                {"--small"},
                {"--speed"},
                {"--seconds"},
                {"--frequency"},
                {"--enable", false}},
    .run = spin,
};

}  // namespace brovactl
