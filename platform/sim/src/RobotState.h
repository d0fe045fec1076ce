// What the simulated platform says about the robot: whether the system is active, and the CAN
// handles it hands out.
#pragma once

#include <algorithm>
#include <cstdint>
#include <deque>
#include <optional>
#include <vector>

namespace brovasim {

struct RobotState {
  bool active = false;
  std::deque<bool> scriptedActive;
  int activeQueries = 0;
  // Whether HAL_GetSystemActive answers at all: the 2027 robot controller's HAL does not.
  bool systemActiveSupported = true;
  // What HAL_GetUncachedControlWord answers (2027 HAL): unset, a word that follows `active`.
  std::optional<int64_t> controlWord;
  int32_t controlWordResult = 0;

  // The scripted answers first, in order, then the settable value.
  bool answerActive() {
    ++activeQueries;
    if (scriptedActive.empty()) return active;
    const bool answer = scriptedActive.front();
    scriptedActive.pop_front();
    return answer;
  }
};

struct Handles {
  static constexpr int32_t kFirst = 0x0C0001;
  int32_t next = kFirst;
  std::vector<int32_t> open;

  int32_t openNext() {
    open.push_back(next);
    return next++;
  }
  void clean(int32_t handle) {
    auto it = std::find(open.begin(), open.end(), handle);
    if (it != open.end()) open.erase(it);
  }
};

}  // namespace brovasim
