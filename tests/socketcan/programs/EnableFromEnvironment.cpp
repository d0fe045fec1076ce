// BROVA_ENABLE_SECONDS enables the robot from the platform's first use for that long, then the
// enable lapses.
//   socketcan_enable_from_environment lapses SECONDS   (run with BROVA_ENABLE_SECONDS=SECONDS)
//     exits 0 when the robot was active at once and went inactive no sooner than SECONDS later
//   socketcan_enable_from_environment inactive         (run with a value that is no duration)
//     exits 0, printing "robot stayed inactive", when the robot is inactive for a second
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <thread>

#include "support/Hal.h"

namespace {

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

bool active() {
  int32_t status = 0;
  return HAL_GetSystemActive(&status);
}

int lapses(double seconds) {
  const auto start = Clock::now();
  if (!active()) {
    std::puts("not active at first use");
    return 1;
  }
  while (active()) {
    if (Clock::now() - start > std::chrono::duration<double>(seconds) + 10s) {
      std::puts("still active 10 s after the enable should have lapsed");
      return 1;
    }
    std::this_thread::sleep_for(5ms);
  }
  const double lasted = std::chrono::duration<double>(Clock::now() - start).count();
  std::printf("active for %.3f s\n", lasted);
  return lasted >= seconds ? 0 : 1;
}

int inactive() {
  for (const auto end = Clock::now() + 1s; Clock::now() < end; std::this_thread::sleep_for(10ms)) {
    if (active()) return 1;
  }
  std::puts("robot stayed inactive");
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 3 && !std::strcmp(argv[1], "lapses")) return lapses(std::atof(argv[2]));
  if (argc == 2 && !std::strcmp(argv[1], "inactive")) return inactive();
  std::fputs("usage: socketcan_enable_from_environment lapses SECONDS | inactive\n", stderr);
  return 2;
}
