// Carries frames between a SocketCAN socket and this process's simulated bus, so that the
// simulated platform's device models (brovasim::SimController) sit on a real bus.
//
// Frames read from the socket are sent on the simulated bus (as the program's sends are), where the
// device models hear them as requests, commands and keep-alive frames, stamped with the moment
// they were read. Frames the device models put on the simulated bus (their replies) are written
// to the socket. A frame this process writes is not read back by its own socket, so nothing
// loops.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>

#include "brovasocketcan/FrameReader.h"

namespace devsim {

class Bridge {
 public:
  // Takes `fd`, an open socket carrying struct can_frame records, and starts carrying frames.
  explicit Bridge(int fd);
  // Stops reading, stops writing replies, and closes the socket once no reply is on its way.
  ~Bridge();
  Bridge(const Bridge&) = delete;
  Bridge& operator=(const Bridge&) = delete;

  uint64_t framesHeard() const { return heard_; }
  uint64_t repliesWritten() const;
  uint64_t failedWrites() const;

 private:
  struct Outlet;
  // The replies' way out: subscribed to the simulated bus while it lives.
  struct Subscription {
    explicit Subscription(const std::shared_ptr<Outlet>& outlet);
    ~Subscription();
    Subscription(const Subscription&) = delete;
    Subscription& operator=(const Subscription&) = delete;
    const int id;
  };

  void hear(const brovasocketcan::Frame& frame);

  // Declared in the order of starting: replies go out before any request is heard, and reading
  // stops first.
  std::shared_ptr<Outlet> outlet_;
  Subscription subscription_;
  std::atomic<uint64_t> heard_ = 0;
  brovasocketcan::FrameReader reader_;
};

}  // namespace devsim
