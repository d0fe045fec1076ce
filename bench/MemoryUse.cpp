// brova_memory_bench: resident memory per keep-alive task, and whether 1000 create/destroy
// cycles leave threads or memory behind.
#include <chrono>
#include <cstdio>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "BrovaDriver.h"
#include "brovasim/SimCan.h"

namespace {

// A field of /proc/self/status, in its own unit (kB for VmRSS).
long statusField(const std::string& name) {
  std::ifstream status("/proc/self/status");
  for (std::string line; std::getline(status, line);) {
    if (line.rfind(name + ":", 0) == 0) return std::stol(line.substr(name.size() + 1));
  }
  return -1;
}

}  // namespace

int main() {
  constexpr int kTasks = 100;
  constexpr int kCycles = 1000;
  brovasim::can::reset();
  brovasim::can::setRecording(false);

  // The first cycles warm the allocator and the C library's cache of thread stacks; the second
  // thousand shows whether anything is left behind per cycle.
  const long coldRss = statusField("VmRSS");
  for (int i = 0; i < kCycles; ++i) c_BrovaQuad_destroy(c_BrovaQuad_create(5, 1000, nullptr, 0));
  const long baseRss = statusField("VmRSS");
  const long baseThreads = statusField("Threads");
  for (int i = 0; i < kCycles; ++i) c_BrovaQuad_destroy(c_BrovaQuad_create(5, 1000, nullptr, 0));
  const long afterRss = statusField("VmRSS");
  const long afterThreads = statusField("Threads");

  std::vector<int32_t> handles;
  for (int i = 0; i < kTasks; ++i) handles.push_back(c_BrovaQuad_create(5, 1000, nullptr, 0));
  std::this_thread::sleep_for(std::chrono::milliseconds(300));  // every task has run a pass
  const long openRss = statusField("VmRSS");
  const long openThreads = statusField("Threads");
  for (int32_t handle : handles) c_BrovaQuad_destroy(handle);

  std::printf("memory_rss_per_task_kb %.1f\n", double(openRss - afterRss) / kTasks);
  std::printf("memory_threads_with_%d_tasks %ld\n", kTasks, openThreads - afterThreads);
  std::printf("memory_threads_before_cycles %ld\n", baseThreads);
  std::printf("memory_threads_after_%d_cycles %ld\n", kCycles, afterThreads);
  std::printf("memory_rss_cold_kb %ld\n", coldRss);
  std::printf("memory_rss_before_cycles_kb %ld\n", baseRss);
  std::printf("memory_rss_after_%d_cycles_kb %ld\n", kCycles, afterRss);
  return afterThreads == baseThreads ? 0 : 1;
}
