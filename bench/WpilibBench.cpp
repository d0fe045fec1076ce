// Eight controllers in a team's desktop simulation, on WPILib's own simulation HAL: six
// BrovaQuads and two BrovaSmalls opened through the objects, answered by the library's device
// models (replies after 2 ms), their telemetry every millisecond (back to back: a round takes
// longer). Measures how often each BrovaQuad's full set of readings is refreshed: the interval
// between successive fresh values of its last reading of a round (channel 3's RPM), from the
// readings' own time stamps, over three seconds. Public headers and WPILib's alone, as a team's
// program.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <memory>
#include <thread>
#include <vector>

#include "BrovaDriver.hpp"

#if __has_include("wpi/hal/HAL.h")
#include "wpi/hal/HAL.h"
#include "wpi/hal/simulation/DriverStationData.h"
#else
#include "hal/HAL.h"
#include "hal/simulation/DriverStationData.h"
#endif

namespace {

void BM_RefreshEightSimulatedControllers(benchmark::State& state) {
  static const bool started = HAL_Initialize(500, 0);
  if (!started) {
    state.SkipWithError("WPILib's HAL did not initialise");
    return;
  }
  HALSIM_SetDriverStationDsAttached(true);
  HALSIM_SetDriverStationEnabled(true);
  HALSIM_NotifyDriverStationNewData();
  std::vector<std::unique_ptr<brova::BrovaQuad>> quads;
  std::vector<std::unique_ptr<brova::BrovaSmall>> smalls;
  for (int i = 0; i < 6; ++i) quads.push_back(std::make_unique<brova::BrovaQuad>(10 + i));
  for (int i = 0; i < 2; ++i) smalls.push_back(std::make_unique<brova::BrovaSmall>(20 + i));
  for (auto& quad : quads) {
    for (int motor = 0; motor < 4; ++motor) quad->set(motor, 0.5);
    quad->startTelemetry(std::chrono::milliseconds(1));
  }
  for (auto& small : smalls) small->startTelemetry(std::chrono::milliseconds(1));

  std::vector<double> intervalsMs;
  std::vector<brova::Clock::time_point> last(quads.size());
  int missing = 0;
  for (auto _ : state) {
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(3);
    while (std::chrono::steady_clock::now() < until) {
      for (std::size_t i = 0; i < quads.size(); ++i) {
        const brova::Reading rpm = quads[i]->getRPM(3);
        if (rpm.state == brova::ReadingState::Missing) ++missing;
        if (!rpm.fresh() || rpm.readAt == last[i]) continue;
        if (last[i] != brova::Clock::time_point{}) {
          intervalsMs.push_back(
              std::chrono::duration<double, std::milli>(rpm.readAt - last[i]).count());
        }
        last[i] = rpm.readAt;
      }
      std::this_thread::sleep_for(std::chrono::microseconds(250));
    }
  }
  HALSIM_SetDriverStationEnabled(false);
  HALSIM_NotifyDriverStationNewData();
  if (intervalsMs.empty()) {
    state.SkipWithError("no BrovaQuad reading was refreshed");
    return;
  }
  std::sort(intervalsMs.begin(), intervalsMs.end());
  double sum = 0;
  for (const double ms : intervalsMs) sum += ms;
  state.counters["quad_refreshes"] = double(intervalsMs.size());
  state.counters["quad_mean_ms"] = sum / double(intervalsMs.size());
  state.counters["quad_median_ms"] = intervalsMs[intervalsMs.size() / 2];
  state.counters["quad_p99_ms"] = intervalsMs[intervalsMs.size() * 99 / 100];
  state.counters["quad_max_ms"] = intervalsMs.back();
  state.counters["missing_reads"] = missing;
}
BENCHMARK(BM_RefreshEightSimulatedControllers)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace
