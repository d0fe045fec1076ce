// An analog reading costs its mandated 1 ms conversion wait and little more.
#include <benchmark/benchmark.h>

#include "BeyondPause.h"
#include "BrovaDriver.h"
#include "brovasim/SimAnalogBoard.h"

namespace {

void BM_AnalogGetVoltage(benchmark::State& state) {
  brovasim::i2c::reset();
  auto board = brovasim::attachAnalogBoard();
  board->setInput(2, 1.0);
  c_initializeI2C(5);
  brova::bench::measureBeyondPause(state, std::chrono::milliseconds(1),
                                   [] { benchmark::DoNotOptimize(c_getVoltage(2)); });
  c_closeI2C();
}
BENCHMARK(BM_AnalogGetVoltage)->Iterations(1000)->Unit(benchmark::kMicrosecond);

}  // namespace
