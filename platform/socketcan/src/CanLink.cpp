#include "CanLink.h"

#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdint>

#include "brovasocketcan/CanSocket.h"

namespace brovasocketcan {

uint64_t steadyMicroseconds() {
  const auto now = std::chrono::steady_clock::now().time_since_epoch();
  return static_cast<uint64_t>(std::chrono::duration_cast<std::chrono::microseconds>(now).count());
}

namespace {

// The link's reader; the link owns `fd`, so it closes it when the reader cannot be set up.
FrameReader startReader(int fd, FrameStore& store) {
  try {
    return FrameReader(fd,
                       [&store](const Frame& frame) { store.keep(frame, steadyMicroseconds()); });
  } catch (...) {
    ::close(fd);
    throw;
  }
}

}  // namespace

CanLink::CanLink(int fd) : fd_(fd), reader_(startReader(fd, store_)) {}

CanLink::~CanLink() {
  reader_.stop();
  ::close(fd_);
}

int32_t CanLink::send(const Frame& frame) {
  const int32_t status = writeFrame(fd_, frame);
  // A socket whose interface was unregistered is bound to none: -ENXIO from then on, -ENODEV
  // for the write that takes the kernel's notice of it.
  if (status == -ENODEV || status == -ENXIO) lost_ = true;
  return status;
}

std::optional<ReceivedFrame> CanLink::take(uint32_t id, uint32_t mask) {
  return store_.take(id, mask);
}

}  // namespace brovasocketcan
