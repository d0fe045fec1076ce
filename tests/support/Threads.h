// The threads of the test's (or benchmark's) own process, as /proc lists them.
#pragma once

#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

namespace brova::testing {

// The /proc directories of this process's threads with the given name, or of all of them.
inline std::vector<std::filesystem::path> threadDirectories(const std::string& name = {}) {
  std::vector<std::filesystem::path> found;
  for (const auto& task : std::filesystem::directory_iterator("/proc/self/task")) {
    std::ifstream comm(task.path() / "comm");
    std::string taskName;
    std::getline(comm, taskName);
    if (name.empty() || taskName == name) found.push_back(task.path());
  }
  return found;
}

// Threads of this process with the given name, or all of them.
inline int threadsNamed(const std::string& name = {}) {
  return static_cast<int>(threadDirectories(name).size());
}

// The thread count once it holds still: a joined thread may stay listed for a moment (longer
// under emulation) before it leaves /proc.
inline int settledThreadCount() {
  int last = threadsNamed();
  for (int tries = 0; tries < 100; ++tries) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
    const int now = threadsNamed();
    if (now == last) return now;
    last = now;
  }
  return last;
}

}  // namespace brova::testing
