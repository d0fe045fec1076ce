// The frames received and not yet taken: the latest one per identifier, each handed to one
// receive (the rule and its reasons: docs/receiving.md).
#pragma once

#include <cstdint>
#include <map>
#include <mutex>
#include <optional>

#include "brovasocketcan/Frame.h"

namespace brovasocketcan {

struct ReceivedFrame {
  Frame frame;
  uint64_t arrivedUs = 0;  // the steady clock's microseconds
};

class FrameStore {
 public:
  // Keeps `frame`, replacing a frame with the same identifier that was not taken yet.
  void keep(const Frame& frame, uint64_t arrivedUs);
  // Takes, among the kept frames whose identifier matches `id` under `mask`, the one kept last.
  std::optional<ReceivedFrame> take(uint32_t id, uint32_t mask);
  // How many frames are kept and not taken.
  size_t size() const;

 private:
  struct Kept {
    ReceivedFrame received;
    uint64_t sequence = 0;
  };

  mutable std::mutex mutex_;
  std::map<uint32_t, Kept> kept_;
  uint64_t sequence_ = 0;
};

}  // namespace brovasocketcan
