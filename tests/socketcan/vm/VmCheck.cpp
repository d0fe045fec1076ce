// socketcan_vm_check: the robot-program side of the checks run on a real kernel CAN stack
// (scripts/vm/run-vm-tests.sh), through the SocketCAN libBrovaDriver.so.
//
//   wire                 BrovaQuad 5 at 1000 Hz on channel 2, motor 1 at 0.5, 350 ms of
//                        keep-alive, destroy: candump shows the frames
//   replies GO_FILE      BrovaQuad 5, prints "ready", waits for GO_FILE to exist (the replies
//                        were put on the bus), then prints what the queries decode, each query
//                        twice ("again": a reply is returned once)
//   keepalive SECONDS    BrovaQuad 5 for SECONDS, enabled for the first half
//   survive SECONDS      BrovaQuad 5 enabled for SECONDS, motor 1 set every 100 ms (+0.5 and
//                        +0.4 in turn) and a probe frame sent with it; prints "ready", then how
//                        many probe sends failed and the longest step, while the script takes
//                        the interface away and back or floods it
//   buses SECONDS        BrovaQuad 5 on bus 0 and BrovaQuad 6 on bus 1 (2027 HAL: the interfaces
//                        come from BROVA_CAN_INTERFACES) enabled for SECONDS, motor 1 of both
//                        set every 100 ms; prints "ready", then the steps and the longest, while
//                        the script takes bus 1's interface away and back. The 2026 HAL refuses
//                        bus 1: the mode prints why and exits 1
#include <sys/stat.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <optional>
#include <string>
#include <thread>

#include "BrovaDriver.h"
#include "BrovaDriver.hpp"
#include "brovasocketcan/SocketCan.h"
#include "support/Hal.h"

namespace {

using namespace std::chrono_literals;

int wire() {
  const int32_t quad = c_BrovaQuad_create(5, 1000, nullptr, 2);
  if (quad == 0) return 1;
  c_BrovaQuad_setMotorSpeed(quad, 1, 0.5);
  std::this_thread::sleep_for(350ms);
  c_BrovaQuad_destroy(quad);
  std::puts("wire: done");
  return 0;
}

bool waitForFile(const char* path) {
  struct stat info {};
  for (int i = 0; i < 1000; ++i) {
    if (stat(path, &info) == 0) return true;
    std::this_thread::sleep_for(10ms);
  }
  return false;
}

int replies(const char* goFile) {
  const int32_t quad = c_BrovaQuad_create(5, 1000, nullptr, 0);
  if (quad == 0) return 1;
  std::puts("ready");
  std::fflush(stdout);
  if (!waitForFile(goFile)) return 1;
  for (const char* round : {"first", "again"}) {
    std::printf("%s id=%d\n", round, c_BrovaQuad_getID(quad));
    std::printf("%s current=%.2f\n", round, c_BrovaQuad_getCurrent(quad, 1));
    std::printf("%s serial=%s\n", round, c_BrovaQuad_getSerialNumber(quad).c_str());
    std::printf("%s firmware=%s\n", round, c_BrovaQuad_getFirmwareVersion(quad).c_str());
  }
  c_BrovaQuad_destroy(quad);
  return 0;
}

int keepAlive(double seconds) {
  const int32_t quad = c_BrovaQuad_create(5, 1000, nullptr, 0);
  if (quad == 0) return 1;
  const auto half = std::chrono::duration<double>(seconds / 2);
  brovasocketcan::enableFor(std::chrono::duration_cast<std::chrono::milliseconds>(half));
  std::this_thread::sleep_for(2 * half);
  c_BrovaQuad_destroy(quad);
  std::puts("keepalive: done");
  return 0;
}

// Sent by `survive` with every command, for its status: 0, or negative while the interface
// is gone. No controller listens to its identifier.
constexpr uint32_t kProbeId = 0x1E0000AA;

int survive(double seconds) {
  const int32_t quad = c_BrovaQuad_create(5, 1000, nullptr, 0);
  if (quad == 0) return 1;
  std::puts("ready");
  using Clock = std::chrono::steady_clock;
  const auto end = Clock::now() + std::chrono::duration<double>(seconds);
  int steps = 0;
  int failed = 0;
  Clock::duration longest{};
  while (Clock::now() < end) {
    const auto start = Clock::now();
    brovasocketcan::enableFor(300ms);
    c_BrovaQuad_setMotorSpeed(quad, 1, steps % 2 == 0 ? 0.5 : 0.4);
    if (brova::testing::hal::send(kProbeId, nullptr, 0) < 0) ++failed;
    longest = std::max(longest, Clock::now() - start);
    ++steps;
    std::this_thread::sleep_for(100ms);
  }
  brovasocketcan::disable();
  c_BrovaQuad_destroy(quad);
  std::printf("survive: %d of %d probe sends failed, longest step %.1f ms\n", failed, steps,
              std::chrono::duration<double, std::milli>(longest).count());
  return 0;
}

int buses(double seconds) {
  std::optional<brova::BrovaQuad> zero;
  std::optional<brova::BrovaQuad> one;
  try {
    zero.emplace(5);
    one.emplace(6, brova::CanBus{1});
  } catch (const std::exception& error) {
    std::printf("buses: no BrovaQuad on bus 1 (this mode needs the 2027 HAL): %s\n", error.what());
    return 1;
  }
  if (!brovasocketcan::open(1)) return 1;
  std::puts("ready");
  using Clock = std::chrono::steady_clock;
  const auto end = Clock::now() + std::chrono::duration<double>(seconds);
  int steps = 0;
  Clock::duration longest{};
  while (Clock::now() < end) {
    const auto start = Clock::now();
    brovasocketcan::enableFor(300ms);
    const double speed = steps % 2 == 0 ? 0.5 : 0.4;
    zero->set(1, speed);
    one->set(1, speed);
    longest = std::max(longest, Clock::now() - start);
    ++steps;
    std::this_thread::sleep_for(100ms);
  }
  brovasocketcan::disable();
  std::printf("buses: %d steps on buses 0 and 1, longest step %.1f ms\n", steps,
              std::chrono::duration<double, std::milli>(longest).count());
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string mode = argc > 1 ? argv[1] : "";
  setvbuf(stdout, nullptr, _IOLBF, 0);
  // The interface comes from BROVA_CAN_INTERFACE; a check on no bus at all would prove nothing.
  if (!brovasocketcan::open()) return 1;
  if (mode == "wire") return wire();
  if (mode == "replies" && argc > 2) return replies(argv[2]);
  if (mode == "keepalive" && argc > 2) return keepAlive(std::atof(argv[2]));
  if (mode == "survive" && argc > 2) return survive(std::atof(argv[2]));
  if (mode == "buses" && argc > 2) return buses(std::atof(argv[2]));
  std::fprintf(stderr,
               "usage: socketcan_vm_check wire | replies GO_FILE | keepalive SECONDS | survive "
               "SECONDS | buses SECONDS\n");
  return 2;
}
