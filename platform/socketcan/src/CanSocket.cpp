#include "brovasocketcan/CanSocket.h"

#include <linux/can/raw.h>
#include <net/if.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <thread>

namespace brovasocketcan {

OpenedSocket openCanSocket(const std::string& name) {
  if (name.empty() || name.size() >= IFNAMSIZ) {
    return {.error = "not an interface name (1 to 15 characters)"};
  }
  const int fd = socket(PF_CAN, SOCK_RAW | SOCK_CLOEXEC, CAN_RAW);
  if (fd < 0) return {.error = std::strerror(errno)};
  sockaddr_can address{};
  address.can_family = AF_CAN;
  address.can_ifindex = static_cast<int>(if_nametoindex(name.c_str()));
  if (address.can_ifindex == 0 ||
      bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) < 0) {
    const int error = errno;
    ::close(fd);
    return {.error = std::strerror(error)};
  }
  return {.fd = fd, .error = {}};
}

namespace {

// A socket that keeps failing (an interface that went away) must not make its reader spin.
constexpr auto kPauseAfterFailure = std::chrono::milliseconds(10);

Read failed() {
  std::this_thread::sleep_for(kPauseAfterFailure);
  return Read::Failed;
}

}  // namespace

int32_t writeFrame(int fd, const Frame& frame) {
  const can_frame out = toCanFrame(frame);
  // MSG_NOSIGNAL: a peer that went away (a test's socket pair) is a status, not a signal.
  const ssize_t written = send(fd, &out, sizeof out, MSG_DONTWAIT | MSG_NOSIGNAL);
  if (written == static_cast<ssize_t>(sizeof out)) return 0;
  return written < 0 ? -errno : -EIO;
}

Read waitForFrame(int fd, int stopFd, Frame& frame, int timeoutMs) {
  pollfd watched[2] = {{.fd = fd, .events = POLLIN, .revents = 0},
                       {.fd = stopFd, .events = POLLIN, .revents = 0}};
  if (poll(watched, 2, timeoutMs) < 0) return errno == EINTR ? Read::Nothing : failed();
  if (watched[1].revents != 0) return Read::Stopped;
  const short events = watched[0].revents;
  // Frames still queued are read before a hang-up ends the reading.
  if (!(events & (POLLIN | POLLERR))) {
    return events & (POLLHUP | POLLNVAL) ? Read::Stopped : Read::Nothing;
  }
  can_frame in{};
  const ssize_t got = recv(fd, &in, sizeof in, MSG_DONTWAIT);
  if (got < 0) {
    if (errno == EINTR || errno == EAGAIN) return Read::Nothing;
    // The kernel unbinds a socket whose interface is unregistered: nothing comes to it again.
    return errno == ENODEV ? Read::Stopped : failed();
  }
  if (got == 0) return Read::Stopped;
  if (got != static_cast<ssize_t>(sizeof in)) return Read::Nothing;
  const auto read = fromCanFrame(in);
  if (!read) return Read::Nothing;
  frame = *read;
  return Read::Frame;
}

}  // namespace brovasocketcan
