// Open devices on the simulated bus (controllers answering after 2 ms): how often a reading is
// refreshed when the telemetry runs back to back, and what twenty open devices cost in threads
// and memory.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "brovasim/SimCan.h"
#include "brovasim/SimController.h"
#include "devices/Device.h"
#include "support/Threads.h"

namespace brova::bench {
namespace {

using devices::Device;
using devices::Kind;

// A field of /proc/self/status, in its own unit (kB for VmRSS).
long statusField(const std::string& name) {
  std::ifstream status("/proc/self/status");
  for (std::string line; std::getline(status, line);) {
    if (line.rfind(name + ":", 0) == 0) return std::stol(line.substr(name.size() + 1));
  }
  return -1;
}

// The time between successive fresh values of each device's first reading (motor 0's current),
// from the readings' own time stamps, over two seconds, per kind.
void refreshPeriod(benchmark::State& state, int quads, int smalls) {
  brovasim::can::reset();
  brovasim::can::setRecording(false);
  std::vector<std::shared_ptr<brovasim::SimController>> sims;
  std::vector<std::shared_ptr<Device>> open;
  for (int i = 0; i < quads + smalls; ++i) {
    const bool quad = i < quads;
    const int number = 10 + i;
    sims.push_back(brovasim::SimController::attach(
        quad ? brovasim::SimController::Model::Quad : brovasim::SimController::Model::Small,
        number));
    open.push_back(Device::open(quad ? Kind::Quad : Kind::Small, number, 1000));
  }
  for (const auto& device : open) device->startTelemetry(std::chrono::nanoseconds(0), {});

  std::vector<double> intervalsMs[2];  // per kind: BrovaQuad, BrovaSmall
  std::vector<int64_t> last(open.size(), 0);
  for (auto _ : state) {
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(2);
    while (std::chrono::steady_clock::now() < until) {
      for (std::size_t i = 0; i < open.size(); ++i) {
        const int64_t at = open[i]->readings().slots[0].read().timeNanos;
        if (at != last[i] && last[i] != 0) {
          intervalsMs[open[i]->kind() == Kind::Quad ? 0 : 1].push_back(double(at - last[i]) / 1e6);
        }
        last[i] = at;
      }
      std::this_thread::sleep_for(std::chrono::microseconds(250));
    }
  }
  for (const auto& device : open) device->close();
  for (const int kind : {0, 1}) {
    std::vector<double>& ms = intervalsMs[kind];
    if (ms.empty()) continue;
    std::sort(ms.begin(), ms.end());
    double sum = 0;
    for (const double interval : ms) sum += interval;
    const std::string name = kind == 0 ? "quad_" : "small_";
    state.counters[name + "mean_ms"] = sum / double(ms.size());
    state.counters[name + "median_ms"] = ms[ms.size() / 2];
    state.counters[name + "p99_ms"] = ms[ms.size() * 99 / 100];
    state.counters[name + "max_ms"] = ms.back();
  }
}

void BM_RefreshOneQuad(benchmark::State& state) { refreshPeriod(state, 1, 0); }
BENCHMARK(BM_RefreshOneQuad)->Iterations(1)->Unit(benchmark::kMillisecond);

void BM_RefreshOneSmall(benchmark::State& state) { refreshPeriod(state, 0, 1); }
BENCHMARK(BM_RefreshOneSmall)->Iterations(1)->Unit(benchmark::kMillisecond);

void BM_RefreshFourQuadsTwoSmalls(benchmark::State& state) { refreshPeriod(state, 4, 2); }
BENCHMARK(BM_RefreshFourQuadsTwoSmalls)->Iterations(1)->Unit(benchmark::kMillisecond);

// Processor time the thread of this process with the given name has used (user and system),
// in seconds; 0 when there is none.
double threadSeconds(const std::string& name) {
  const auto found = testing::threadDirectories(name);
  if (found.empty()) return 0.0;
  std::ifstream stat(found.front() / "stat");
  std::string line;
  std::getline(stat, line);
  // Fields after the name in parentheses: state is field 3, utime 14, stime 15.
  std::istringstream fields(line.substr(line.rfind(')') + 2));
  std::string field;
  long ticks = 0;
  for (int index = 3; index <= 15 && fields >> field; ++index) {
    if (index >= 14) ticks += std::stol(field);
  }
  return double(ticks) / double(sysconf(_SC_CLK_TCK));
}

// Four BrovaQuads and two BrovaSmalls reading everything every 20 ms, as a robot loop would ask:
// the share of one core the telemetry thread takes, polling for replies, over five seconds.
void BM_TelemetryThreadLoad(benchmark::State& state) {
  brovasim::can::reset();
  brovasim::can::setRecording(false);
  std::vector<std::shared_ptr<brovasim::SimController>> sims;
  std::vector<std::shared_ptr<Device>> open;
  for (int i = 0; i < 6; ++i) {
    const bool quad = i < 4;
    const int number = 10 + i;
    sims.push_back(brovasim::SimController::attach(
        quad ? brovasim::SimController::Model::Quad : brovasim::SimController::Model::Small,
        number));
    open.push_back(Device::open(quad ? Kind::Quad : Kind::Small, number, 1000));
    open.back()->startTelemetry(std::chrono::milliseconds(20), {});
  }
  std::this_thread::sleep_for(std::chrono::milliseconds(200));
  const double before = threadSeconds("brova-telemetry");
  const auto started = std::chrono::steady_clock::now();
  for (auto _ : state) std::this_thread::sleep_for(std::chrono::seconds(5));
  const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - started;
  state.counters["telemetry_cpu_percent"] =
      100.0 * (threadSeconds("brova-telemetry") - before) / elapsed.count();
  for (const auto& device : open) device->close();
}
BENCHMARK(BM_TelemetryThreadLoad)->Iterations(1)->Unit(benchmark::kMillisecond);

// Twenty open devices with telemetry every 20 ms, no controller attached (the simulated
// controllers' own threads and memory are not the driver's): the threads and the memory the
// twenty took beyond a first device.
void BM_TwentyOpenDevices(benchmark::State& state) {
  brovasim::can::reset();
  brovasim::can::setRecording(false);
  {
    // The allocator and the C library warm up on one device first.
    auto warm = Device::open(Kind::Quad, 1, 1000);
    warm->startTelemetry(std::chrono::milliseconds(20), {});
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
  }
  // The keep-alive and telemetry threads run now: twenty more devices must add none.
  const long threadsBefore = statusField("Threads");
  const long rssBefore = statusField("VmRSS");
  std::vector<std::shared_ptr<Device>> open;
  for (auto _ : state) {
    for (int number = 10; number < 30; ++number) {
      open.push_back(Device::open(number % 2 == 0 ? Kind::Quad : Kind::Small, number, 1000));
      open.back()->startTelemetry(std::chrono::milliseconds(20), {});
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
  }
  state.counters["threads_added"] = double(statusField("Threads") - threadsBefore);
  state.counters["driver_threads"] =
      double(testing::threadsNamed("brova-devalive") + testing::threadsNamed("brova-telemetry"));
  state.counters["rss_delta_kb"] = double(statusField("VmRSS") - rssBefore);
  for (const auto& device : open) device->close();
}
BENCHMARK(BM_TwentyOpenDevices)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace brova::bench
