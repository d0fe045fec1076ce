#include "CanLink.h"

#include <sys/eventfd.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdint>
#include <system_error>

#include "CanSocket.h"

namespace brovasocketcan {

uint32_t steadyMilliseconds() {
  const auto now = std::chrono::steady_clock::now().time_since_epoch();
  return static_cast<uint32_t>(std::chrono::duration_cast<std::chrono::milliseconds>(now).count());
}

namespace {

// The reader's wake-up for stopping; a link without one could never stop its reader.
int openStopSignal(int fd) {
  const int stopFd = eventfd(0, EFD_CLOEXEC);
  if (stopFd < 0) {
    const int error = errno;
    ::close(fd);
    throw std::system_error(error, std::generic_category(), "eventfd");
  }
  return stopFd;
}

}  // namespace

CanLink::CanLink(int fd)
    : fd_(fd), stopFd_(openStopSignal(fd)), reader_([this] { readUntilStopped(); }) {}

CanLink::~CanLink() {
  const uint64_t one = 1;
  while (write(stopFd_, &one, sizeof one) < 0 && errno == EINTR) {
  }
  reader_.join();
  ::close(fd_);
  ::close(stopFd_);
}

int32_t CanLink::send(const Frame& frame) { return writeFrame(fd_, frame); }

std::optional<ReceivedFrame> CanLink::take(uint32_t id, uint32_t mask) {
  return store_.take(id, mask);
}

void CanLink::readUntilStopped() {
  Frame frame;
  for (;;) {
    switch (waitForFrame(fd_, stopFd_, frame)) {
      case Read::Frame: store_.keep(frame, steadyMilliseconds()); break;
      case Read::Nothing:
      case Read::Failed: break;
      case Read::Stopped: return;
    }
  }
}

}  // namespace brovasocketcan
