// What a 20 ms robot loop pays to read telemetry through the object API: a cached getter
// against the blocking query it replaces.
#include <benchmark/benchmark.h>

#include <chrono>
#include <thread>

#include "BrovaDriver.hpp"
#include "brovasim/SimCan.h"
#include "brovasim/SimController.h"

namespace brova::bench {
namespace {

void BM_ObjectCachedCurrent(benchmark::State& state) {
  brovasim::can::reset();
  brovasim::can::setRecording(false);
  auto sim = brovasim::SimController::attach(brovasim::SimController::Model::Quad, 5);
  BrovaQuad quad(5);
  quad.startTelemetry(std::chrono::milliseconds(20));
  std::this_thread::sleep_for(std::chrono::milliseconds(150));  // one round has been read
  for (auto _ : state) benchmark::DoNotOptimize(quad.getCurrent(1));
}
BENCHMARK(BM_ObjectCachedCurrent);

void BM_ObjectBlockingCurrent(benchmark::State& state) {
  brovasim::can::reset();
  brovasim::can::setRecording(false);
  auto sim = brovasim::SimController::attach(brovasim::SimController::Model::Quad, 5);
  BrovaQuad quad(5);
  for (auto _ : state) benchmark::DoNotOptimize(quad.getCurrentBlocking(1));
}
BENCHMARK(BM_ObjectBlockingCurrent)->Iterations(50)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace brova::bench
