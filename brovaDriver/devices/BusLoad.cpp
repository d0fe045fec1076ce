#include "devices/BusLoad.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <cmath>
#include <string>

#include "brova/Limits.hpp"
#include "common/Console.h"
#include "devices/Device.h"
#include "devices/Rounds.h"

namespace brova::devices {
namespace {

// Every request costs its frame and its reply's.
constexpr double kFramesPerRequest = 2.0;
constexpr double kKeepAliveFramesPerSecond = 10.0;
// A wave answered at once still takes about this long: the controller's reply and the poll.
constexpr std::chrono::microseconds kShortestWave{2500};
constexpr double kBitsPerFrame = 160.0;
constexpr double kBitsPerSecond = 1e6;
constexpr double kWarningShare = 0.5;

constexpr std::string_view kWarningStart = "BrovaDriver: the telemetry asked for takes about ";
constexpr std::string_view kWarningBus = "% of a 1 Mbit/s CAN bus";
constexpr std::string_view kWarningEnd = "; read fewer quantities or less often";

constinit std::array<std::atomic<bool>, kHighestBus + 1> warned{};

}  // namespace

double framesPerSecond(Kind kind, Choice choice, std::chrono::nanoseconds period) {
  const std::vector<Wave> waves = roundOf(kind, choice);
  std::size_t requests = 0;
  for (const Wave& wave : waves) requests += wave.size();
  if (requests == 0) return kKeepAliveFramesPerSecond;
  const std::chrono::duration<double> round =
      std::max<std::chrono::nanoseconds>(period, kShortestWave * waves.size());
  return kFramesPerRequest * static_cast<double>(requests) / round.count() +
         kKeepAliveFramesPerSecond;
}

double busShare(double framesPerSecond) { return framesPerSecond * kBitsPerFrame / kBitsPerSecond; }

void warnOnBusLoad(int bus, double framesPerSecond) noexcept {
  const double share = busShare(framesPerSecond);
  if (share <= kWarningShare || bus < 0 || bus > kHighestBus) return;
  if (warned[static_cast<std::size_t>(bus)].exchange(true)) return;
  try {
    std::string line(kWarningStart);
    line += std::to_string(std::lround(share * 100.0));
    line += kWarningBus;
    if (bus != 0) line += " (bus " + std::to_string(bus) + ")";
    line += kWarningEnd;
    console::report(line);
  } catch (...) {
    // Out of memory for the line: the warning is lost.
  }
}

}  // namespace brova::devices
