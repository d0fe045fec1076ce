// brova_keepalive_bench: the spacing of one controller's keep-alive frames over a long run
// while other threads keep every core busy, and the frames per second the keep-alive puts on
// the bus per open controller.
//   brova_keepalive_bench [seconds=30] [load threads=number of cores]
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <thread>
#include <vector>

#include "BrovaDriver.h"
#include "brovasim/SimCan.h"

int main(int argc, char** argv) {
  using Clock = std::chrono::steady_clock;
  const double seconds = argc > 1 ? std::atof(argv[1]) : 30.0;
  const unsigned loadThreads = argc > 2 ? static_cast<unsigned>(std::atoi(argv[2]))
                                        : std::max(1u, std::thread::hardware_concurrency());

  brovasim::can::reset();
  brovasim::can::setRecording(true);  // the keep-alive frames sent are what this measures
  std::atomic<bool> running = true;
  std::vector<std::thread> load;
  for (unsigned i = 0; i < loadThreads; ++i) {
    load.emplace_back([&running] {
      volatile uint64_t spin = 0;
      while (running.load(std::memory_order_relaxed)) spin = spin + 1;
    });
  }

  const int32_t quad = c_BrovaQuad_create(5, 1000, nullptr, 0);
  const int32_t small = c_BrovaSmall_create(7, 1000, nullptr);
  const auto start = Clock::now();
  std::this_thread::sleep_for(std::chrono::duration<double>(seconds));
  const auto stop = Clock::now();
  c_BrovaQuad_destroy(quad);
  c_BrovaSmall_destroy(small);
  running = false;
  for (auto& t : load) t.join();

  const auto frames = brovasim::can::sentFrames(0x020C0505);
  std::vector<double> gaps;
  for (size_t i = 1; i < frames.size(); ++i) {
    gaps.push_back(
        std::chrono::duration<double, std::milli>(frames[i].time - frames[i - 1].time).count());
  }
  if (gaps.size() < 10) {
    std::printf("too few keep-alive frames: %zu\n", frames.size());
    return 1;
  }
  std::sort(gaps.begin(), gaps.end());
  const double elapsed = std::chrono::duration<double>(stop - start).count();
  const size_t allKeepAlives =
      brovasim::can::sentFrames(0x020C0505).size() + brovasim::can::sentFrames(0x020C0507).size();
  std::printf("keepalive_seconds %.1f\n", elapsed);
  std::printf("keepalive_load_threads %u\n", loadThreads);
  std::printf("keepalive_gaps %zu\n", gaps.size());
  std::printf("keepalive_median_ms %.3f\n", gaps[gaps.size() / 2]);
  std::printf("keepalive_p99_ms %.3f\n", gaps[gaps.size() * 99 / 100]);
  std::printf("keepalive_max_ms %.3f\n", gaps.back());
  std::printf("keepalive_min_ms %.3f\n", gaps.front());
  std::printf("keepalive_frames_per_second_per_controller %.2f\n", allKeepAlives / elapsed / 2);
  return 0;
}
