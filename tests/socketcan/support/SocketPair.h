// A connected pair of sockets carrying struct can_frame records, one record a message, as a raw
// CAN socket does: one end for the code under test, the other played by the test as the bus.
#pragma once

#include <linux/can.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdint>
#include <optional>
#include <stdexcept>
#include <vector>

namespace brovasocketcan::testing {

using namespace std::chrono_literals;

// What the bus side sees: the kernel's identifier word (flags included) and the bytes.
struct WireFrame {
  uint32_t canId = 0;
  std::vector<uint8_t> data;
  bool operator==(const WireFrame&) const = default;
};

inline uint32_t extended(uint32_t id) { return id | CAN_EFF_FLAG; }

class SocketPair {
 public:
  SocketPair() {
    int fds[2];
    if (socketpair(AF_UNIX, SOCK_SEQPACKET | SOCK_CLOEXEC, 0, fds) != 0) {
      throw std::runtime_error("socketpair");
    }
    near_ = fds[0];
    bus_ = fds[1];
  }
  ~SocketPair() {
    if (near_ >= 0) ::close(near_);
    if (bus_ >= 0) ::close(bus_);
  }
  SocketPair(const SocketPair&) = delete;
  SocketPair& operator=(const SocketPair&) = delete;

  // The end for the code under test, which then owns it.
  int release() {
    const int fd = near_;
    near_ = -1;
    return fd;
  }
  // The bus goes away: writes to the other end fail from now on.
  void closeBus() {
    ::close(bus_);
    bus_ = -1;
  }

  // Puts a frame on the bus, as a device would.
  void put(uint32_t canId, const std::vector<uint8_t>& data) const {
    can_frame frame{};
    frame.can_id = canId;
    frame.len = static_cast<uint8_t>(data.size());
    std::copy(data.begin(), data.end(), frame.data);
    if (send(bus_, &frame, sizeof frame, 0) != sizeof frame) throw std::runtime_error("send");
  }

  // The next frame the code under test wrote, if one comes within `timeout`.
  std::optional<WireFrame> next(std::chrono::milliseconds timeout = 2s) const {
    pollfd watched{.fd = bus_, .events = POLLIN, .revents = 0};
    if (poll(&watched, 1, static_cast<int>(timeout.count())) != 1) return std::nullopt;
    can_frame frame{};
    if (recv(bus_, &frame, sizeof frame, 0) != sizeof frame) return std::nullopt;
    return WireFrame{frame.can_id,
                     std::vector<uint8_t>(frame.data, frame.data + std::min<int>(frame.len, 8))};
  }

  // The next frame written whose identifier is not one of `skipped`.
  std::optional<WireFrame> nextExcept(const std::vector<uint32_t>& skipped,
                                      std::chrono::milliseconds timeout = 2s) const {
    const auto end = std::chrono::steady_clock::now() + timeout;
    for (;;) {
      const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
          end - std::chrono::steady_clock::now());
      if (left <= 0ms) return std::nullopt;
      auto frame = next(left);
      if (!frame) return std::nullopt;
      if (std::find(skipped.begin(), skipped.end(), frame->canId) == skipped.end()) return frame;
    }
  }

  // Whether the other end was closed within `timeout` (frames still unread are skipped).
  bool closedByPeer(std::chrono::milliseconds timeout = 2s) const {
    const auto end = std::chrono::steady_clock::now() + timeout;
    while (std::chrono::steady_clock::now() < end) {
      pollfd watched{.fd = bus_, .events = POLLIN, .revents = 0};
      if (poll(&watched, 1, 10) != 1) continue;
      can_frame frame{};
      if (recv(bus_, &frame, sizeof frame, MSG_DONTWAIT) == 0) return true;
    }
    return false;
  }

  // Forgets what was written so far.
  void drain() const {
    while (next(0ms)) {
    }
  }

 private:
  int near_ = -1;
  int bus_ = -1;
};

}  // namespace brovasocketcan::testing
