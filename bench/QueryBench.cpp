// A query costs its mandated pause and little more: the time each query takes beyond the pause,
// as median and 99th percentile, with its reply waiting on the bus.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

#include "BeyondPause.h"
#include "OpenControllers.h"

namespace brova::bench {
namespace {

using std::chrono::milliseconds;

struct QueryCase {
  const char* name;
  void (*query)(const OpenControllers& open);
  milliseconds pause;
  int iterations;
  std::vector<uint32_t> replies;  // reply identifiers kept on the bus
};

const QueryCase kQueries[] = {
    {"quad getID",
     [](const OpenControllers& o) { benchmark::DoNotOptimize(c_BrovaQuad_getID(o.quad)); },
     milliseconds(10),
     100,
     {0x020C0040}},
    {"quad getFrequency",
     [](const OpenControllers& o) { benchmark::DoNotOptimize(c_BrovaQuad_getFrequency(o.quad)); },
     milliseconds(10),
     100,
     {0x020C0300}},
    {"quad getCurrent",
     [](const OpenControllers& o) { benchmark::DoNotOptimize(c_BrovaQuad_getCurrent(o.quad, 1)); },
     milliseconds(10),
     100,
     {0x020C0400}},
    {"quad getControllerTemp",
     [](const OpenControllers& o) {
       benchmark::DoNotOptimize(c_BrovaQuad_getControllerTemp(o.quad));
     },
     milliseconds(10),
     100,
     {0x020C0600}},
    {"quad getRPM",
     [](const OpenControllers& o) { benchmark::DoNotOptimize(c_BrovaQuad_getRPM(o.quad, 1)); },
     milliseconds(10),
     100,
     {0x020C0680}},
    {"quad getEncoderDistance",
     [](const OpenControllers& o) {
       benchmark::DoNotOptimize(c_BrovaQuadEncoder_getEncoderDistance(o.quad, 1, 0.5, 0, nullptr));
     },
     milliseconds(10),
     100,
     {0x020C0480}},
    {"quad getFirmwareVersion",
     [](const OpenControllers& o) {
       benchmark::DoNotOptimize(c_BrovaQuad_getFirmwareVersion(o.quad));
     },
     milliseconds(10),
     100,
     {0x020C00C0}},
    {"quad getHardwareVersion",
     [](const OpenControllers& o) {
       benchmark::DoNotOptimize(c_BrovaQuad_getHardwareVersion(o.quad));
     },
     milliseconds(10),
     100,
     {0x020C0140}},
    {"quad getSerialNumber",
     [](const OpenControllers& o) {
       benchmark::DoNotOptimize(c_BrovaQuad_getSerialNumber(o.quad));
     },
     milliseconds(10),
     100,
     {0x020C01C0, 0x020C0200, 0x020C0240}},
    {"small getCurrent",
     [](const OpenControllers& o) { benchmark::DoNotOptimize(c_BrovaSmall_getCurrent(o.small)); },
     milliseconds(100),
     20,
     {0x020C0400}},
    {"small getEncoderDistance",
     [](const OpenControllers& o) {
       benchmark::DoNotOptimize(c_BrovaSmallEncoder_getEncoderDistance(o.small, 0.5, 0, nullptr));
     },
     milliseconds(100),
     20,
     {0x020C0480}},
    {"small getSerialNumber",
     [](const OpenControllers& o) {
       benchmark::DoNotOptimize(c_BrovaSmall_getSerialNumber(o.small));
     },
     milliseconds(100),
     20,
     {0x020C01C0, 0x020C0200, 0x020C0240}},
};

void query(benchmark::State& state, const QueryCase* q) {
  OpenControllers open;
  const int device = std::string(q->name).starts_with("quad") ? kQuadDevice : kSmallDevice;
  const auto putReplies = [&] {
    for (uint32_t reply : q->replies) {
      brovasim::can::putFrame(reply + static_cast<uint32_t>(device), {1, 2, 3, 4, 5, 6, 7, 8});
    }
  };
  measureBeyondPause(
      state, q->pause, [&] { q->query(open); }, putReplies);
}

[[maybe_unused]] const bool registered = [] {
  for (const QueryCase& q : kQueries) {
    benchmark::RegisterBenchmark((std::string("Query/") + q.name).c_str(), query, &q)
        ->Iterations(q.iterations)
        ->Unit(benchmark::kMillisecond);
  }
  return true;
}();

}  // namespace
}  // namespace brova::bench
