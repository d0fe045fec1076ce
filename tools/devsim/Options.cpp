#include "Options.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "brova/Limits.hpp"
#include "brovasim/SimCan.h"
#include "brovasocketcan/BusInterfaces.h"

namespace devsim {

namespace {

constexpr double kLongestLatencyMs = 1000;
static_assert(brovasim::can::kBuses == 25, "the usage text names the buses 0..24");

bool parseBus(const std::string& text, int& out) {
  char* end = nullptr;
  const long value = std::strtol(text.c_str(), &end, 10);
  if (text.empty() || *end != '\0' || value < 0 || value >= brovasim::can::kBuses) return false;
  out = static_cast<int>(value);
  return true;
}

bool parseDevice(const std::string& text, int& out) {
  char* end = nullptr;
  const long value = std::strtol(text.c_str(), &end, 10);
  if (text.empty() || *end != '\0' || value < brova::kLowestDeviceNumber ||
      value > brova::kHighestDeviceNumber) {
    return false;
  }
  out = static_cast<int>(value);
  return true;
}

bool parseLatency(const std::string& text, std::chrono::microseconds& out) {
  char* end = nullptr;
  const double ms = std::strtod(text.c_str(), &end);
  if (text.empty() || *end != '\0' || !(ms >= 0) || ms > kLongestLatencyMs) return false;
  out = std::chrono::microseconds(std::llround(ms * 1000));
  return true;
}

Parsed fail(std::string text) {
  Parsed parsed;
  parsed.error = std::move(text);
  return parsed;
}

Parsed help() {
  Parsed parsed;
  parsed.help = true;
  return parsed;
}

}  // namespace

Parsed parseOptions(const std::vector<std::string>& arguments,
                    const std::vector<std::string>& busInterfaces) {
  Parsed parsed;
  Options& o = parsed.options;
  std::optional<int> bus;
  for (size_t i = 0; i < arguments.size(); ++i) {
    const std::string& arg = arguments[i];
    if (arg == "-h" || arg == "--help") return help();
    if (i + 1 >= arguments.size()) return fail("unknown or incomplete option " + arg);
    const std::string& value = arguments[++i];
    int device = 0;
    if (arg == "--can") {
      if (value.empty()) return fail("bad --can (empty)");
      o.interface = value;
    } else if (arg == "--bus") {
      int number = 0;
      if (!parseBus(value, number)) return fail("bad --bus " + value);
      bus = number;
    } else if (arg == "--quad" || arg == "--small") {
      if (!parseDevice(value, device)) return fail("bad " + arg + " " + value);
      const bool taken = std::ranges::count(o.quads, device) + std::ranges::count(o.smalls, device);
      // Both models answer on the same identifiers: two controllers on one number would both
      // answer every request.
      if (taken) return fail("device " + value + " given twice");
      (arg == "--quad" ? o.quads : o.smalls).push_back(device);
    } else if (arg == "--latency-ms") {
      if (!parseLatency(value, o.replyLatency)) return fail("bad --latency-ms " + value);
    } else {
      return fail("unknown or incomplete option " + arg);
    }
  }
  if (o.interface.empty() && bus) {
    const size_t n = static_cast<size_t>(*bus);
    if (n >= busInterfaces.size() || busInterfaces[n].empty()) {
      return fail("bad --bus " + std::to_string(*bus) + ": " + brovasocketcan::kInterfacesVariable +
                  " names no interface for it");
    }
    o.interface = busInterfaces[n];
    o.bus = bus;
  }
  if (o.interface.empty()) return fail("--can IFACE or --bus N is required");
  if (o.quads.empty() && o.smalls.empty()) return fail("no controller: give --quad or --small");
  return parsed;
}

}  // namespace devsim
