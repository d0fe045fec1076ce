// A query costs its mandated pause and little more: the time each call takes beyond the pause,
// as median and 99th percentile.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdint>

#include "BeyondPause.h"
#include "BrovaDriver.h"
#include "brovasim/SimCan.h"

namespace {

using brova::bench::measureBeyondPause;

void BM_QuadGetCurrent(benchmark::State& state) {
  brovasim::can::reset();
  brovasim::can::setRecording(false);
  const int32_t quad = c_BrovaQuad_create(5, 1000, nullptr, 0);
  brovasim::can::putFrame(0x020C0405, {2, 50});
  measureBeyondPause(state, std::chrono::milliseconds(10),
                     [&] { benchmark::DoNotOptimize(c_BrovaQuad_getCurrent(quad, 1)); });
  c_BrovaQuad_destroy(quad);
}
BENCHMARK(BM_QuadGetCurrent)->Iterations(200)->Unit(benchmark::kMillisecond);

void BM_QuadGetSerialNumber(benchmark::State& state) {
  brovasim::can::reset();
  brovasim::can::setRecording(false);
  const int32_t quad = c_BrovaQuad_create(5, 1000, nullptr, 0);
  for (uint32_t id : {0x020C01C5u, 0x020C0205u, 0x020C0245u})
    brovasim::can::putFrame(id, {1, 2, 3, 4});
  measureBeyondPause(state, std::chrono::milliseconds(10),
                     [&] { benchmark::DoNotOptimize(c_BrovaQuad_getSerialNumber(quad)); });
  c_BrovaQuad_destroy(quad);
}
BENCHMARK(BM_QuadGetSerialNumber)->Iterations(100)->Unit(benchmark::kMillisecond);

void BM_SmallGetCurrent(benchmark::State& state) {
  brovasim::can::reset();
  brovasim::can::setRecording(false);
  const int32_t small = c_BrovaSmall_create(7, 1000, nullptr);
  brovasim::can::putFrame(0x020C0407, {2, 50});
  measureBeyondPause(state, std::chrono::milliseconds(100),
                     [&] { benchmark::DoNotOptimize(c_BrovaSmall_getCurrent(small)); });
  c_BrovaSmall_destroy(small);
}
BENCHMARK(BM_SmallGetCurrent)->Iterations(20)->Unit(benchmark::kMillisecond);

}  // namespace
