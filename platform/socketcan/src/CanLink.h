// One open CAN socket: frames written to it, and a reader thread that keeps what arrives in a
// frame store.
#pragma once

#include <atomic>
#include <cstdint>
#include <optional>

#include "FrameStore.h"
#include "brovasocketcan/FrameReader.h"

namespace brovasocketcan {

class CanLink {
 public:
  // Takes `fd`, an open socket carrying struct can_frame records, and starts reading it. Throws
  // std::system_error (having closed `fd`) when the reader cannot be set up.
  explicit CanLink(int fd);
  // Stops the reader and closes the socket.
  ~CanLink();
  CanLink(const CanLink&) = delete;
  CanLink& operator=(const CanLink&) = delete;

  // 0, or the negative errno of the failed write.
  int32_t send(const Frame& frame);
  // Whether the socket can carry nothing more: its interface is gone (deleted, adapter
  // unplugged) or its peer hung up. Either the reader or a write finds out, whichever comes
  // first (the kernel tells one of them).
  bool lost() const { return lost_ || reader_.ended(); }
  // The latest frame received under `mask`, at most once (see FrameStore).
  std::optional<ReceivedFrame> take(uint32_t id, uint32_t mask);

 private:
  const int fd_;
  std::atomic<bool> lost_ = false;
  FrameStore store_;
  FrameReader reader_;
};

// Microseconds of the steady clock: when a received frame arrived.
uint64_t steadyMicroseconds();

}  // namespace brovasocketcan
