#include "common/Pause.h"

#include <chrono>
#include <cstdint>
#include <thread>

namespace brova {

void pause(double seconds) {
  std::this_thread::sleep_for(std::chrono::milliseconds(static_cast<int64_t>(seconds * 1000)));
}

}  // namespace brova
