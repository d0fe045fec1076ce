// Time a call takes beyond the pause it must wait, as median and 99th percentile counters.
#pragma once

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <vector>

namespace brova::bench {

// `prepare` runs before each call, outside the time measured (a reply put on the bus: the bus
// hands each frame to one receive).
template <typename Call, typename Prepare = void (*)()>
void measureBeyondPause(
    benchmark::State& state, std::chrono::microseconds pause, Call call, Prepare prepare = [] {}) {
  using Clock = std::chrono::steady_clock;
  std::vector<double> beyond;
  for (auto _ : state) {
    prepare();
    const auto start = Clock::now();
    call();
    const auto took = Clock::now() - start;
    beyond.push_back(std::chrono::duration<double, std::micro>(took - pause).count());
  }
  if (beyond.empty()) return;
  std::sort(beyond.begin(), beyond.end());
  state.counters["beyond_pause_median_us"] = beyond[beyond.size() / 2];
  state.counters["beyond_pause_p99_us"] =
      beyond[std::min(beyond.size() - 1, beyond.size() * 99 / 100)];
}

}  // namespace brova::bench
