#include "brovasocketcan/FrameReader.h"

#include <sys/eventfd.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <system_error>

#include "brovasocketcan/CanSocket.h"

namespace brovasocketcan {

namespace {

// The reader's wake-up for stopping; a reader without one could never be stopped.
int openStopSignal() {
  const int stopFd = eventfd(0, EFD_CLOEXEC);
  if (stopFd < 0) throw std::system_error(errno, std::generic_category(), "eventfd");
  return stopFd;
}

}  // namespace

FrameReader::FrameReader(int fd, std::function<void(const Frame&)> onFrame)
    : stopFd_(openStopSignal()) {
  try {
    thread_ = std::thread([this, fd, stopFd = stopFd_, onFrame = std::move(onFrame)] {
      Frame frame;
      for (;;) {
        switch (waitForFrame(fd, stopFd, frame)) {
          case Read::Frame: onFrame(frame); break;
          case Read::Nothing:
          case Read::Failed: break;
          case Read::Stopped: ended_ = true; return;
        }
      }
    });
  } catch (...) {
    ::close(stopFd_);
    throw;
  }
}

FrameReader::~FrameReader() {
  stop();
  ::close(stopFd_);
}

void FrameReader::stop() {
  if (!thread_.joinable()) return;
  const uint64_t one = 1;
  while (::write(stopFd_, &one, sizeof one) < 0 && errno == EINTR) {
  }
  thread_.join();
}

}  // namespace brovasocketcan
