#include "Bridge.h"

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "brovasim/SimCan.h"
#include "brovasocketcan/CanSocket.h"

namespace devsim {

namespace {
constexpr const char* kWriteFailedLine =
    "brova-devsim: a reply could not be written to the bus (%s); later failures are counted "
    "silently\n";
}  // namespace

// The socket's writing side. The simulated bus may call an observer after it unsubscribed, so
// the observer shares this, and the socket closes when the last of them lets go.
struct Bridge::Outlet {
  explicit Outlet(int fd) : fd(fd) {}
  ~Outlet() { ::close(fd); }

  void write(const brovasim::PutFrame& put) {
    brovasocketcan::Frame frame{
        .id = put.id, .data = put.data, .size = std::min<uint8_t>(put.size, 8)};
    const int32_t status = brovasocketcan::writeFrame(fd, frame);
    if (status == 0) {
      ++written;
      return;
    }
    if (failed++ == 0) std::fprintf(stderr, kWriteFailedLine, std::strerror(-status));
  }

  const int fd;
  std::atomic<uint64_t> written = 0;
  std::atomic<uint64_t> failed = 0;
};

// The simulated controllers, and the frames read from the socket, are on the simulated bus 0.
Bridge::Subscription::Subscription(const std::shared_ptr<Outlet>& outlet)
    : id(brovasim::can::subscribePut([outlet](const brovasim::PutFrame& put) {
        if (put.bus == 0) outlet->write(put);
      })) {}

Bridge::Subscription::~Subscription() { brovasim::can::unsubscribePut(id); }

Bridge::Bridge(int fd)
    : outlet_(std::make_shared<Outlet>(fd)),
      subscription_(outlet_),
      reader_(fd, [this](const brovasocketcan::Frame& frame) { hear(frame); }) {}

Bridge::~Bridge() = default;

uint64_t Bridge::repliesWritten() const { return outlet_->written; }

uint64_t Bridge::failedWrites() const { return outlet_->failed; }

void Bridge::hear(const brovasocketcan::Frame& frame) {
  // Counted before it is passed on, so whoever sees its effect also sees it counted.
  ++heard_;
  brovasim::can::sendFrame(frame.id, frame.data.data(), frame.size);
}

}  // namespace devsim
