// A robot program on the SocketCAN platform that returns from main while the reader thread waits
// on the socket and keep-alive tasks run: it must exit with 0, promptly.
#include <sys/socket.h>

#include "BrovaDriver.h"
#include "brovasocketcan/SocketCan.h"

int main() {
  int fds[2];
  if (socketpair(AF_UNIX, SOCK_SEQPACKET | SOCK_CLOEXEC, 0, fds) != 0) return 3;
  brovasocketcan::attachSocket(fds[0]);
  brovasocketcan::enableFor(std::chrono::hours(1));
  if (c_BrovaQuad_create(5, 1000, nullptr, 0) == 0) return 4;
  c_BrovaSmall_create(7, 1000, nullptr);
  return 0;
}
