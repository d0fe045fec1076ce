// socketcan_vm_check: the robot-program side of the checks run on a real kernel CAN stack
// (scripts/vm/run-vm-tests.sh), through the SocketCAN libBrovaDriver.so.
//
//   wire                 BrovaQuad 5 at 1000 Hz on channel 2, motor 1 at 0.5, 350 ms of
//                        keep-alive, destroy: candump shows the frames
//   replies GO_FILE      BrovaQuad 5, prints "ready", waits for GO_FILE to exist (the replies
//                        were put on the bus), then prints what the queries decode, each query
//                        twice ("again": a reply is returned once)
//   keepalive SECONDS    BrovaQuad 5 for SECONDS, enabled for the first half
#include <sys/stat.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>

#include "BrovaDriver.h"
#include "brovasocketcan/SocketCan.h"

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

}  // namespace

int main(int argc, char** argv) {
  const std::string mode = argc > 1 ? argv[1] : "";
  setvbuf(stdout, nullptr, _IOLBF, 0);
  // The interface comes from BROVA_CAN_INTERFACE; a check on no bus at all would prove nothing.
  if (!brovasocketcan::open()) return 1;
  if (mode == "wire") return wire();
  if (mode == "replies" && argc > 2) return replies(argv[2]);
  if (mode == "keepalive" && argc > 2) return keepAlive(std::atof(argv[2]));
  std::fprintf(stderr, "usage: socketcan_vm_check wire | replies GO_FILE | keepalive SECONDS\n");
  return 2;
}
