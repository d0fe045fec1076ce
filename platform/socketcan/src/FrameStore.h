// The frames received and not yet taken: the latest one per identifier, each handed to one
// receive (the rule and its reasons: docs/receiving.md), for at most a fixed number of
// identifiers, so that a flood of identifiers nobody asks for leaves memory flat.
#pragma once

#include <cstddef>
#include <cstdint>
#include <list>
#include <mutex>
#include <optional>
#include <unordered_map>

#include "brovasocketcan/Frame.h"

namespace brovasocketcan {

struct ReceivedFrame {
  Frame frame;
  uint64_t arrivedUs = 0;  // the steady clock's microseconds
};

class FrameStore {
 public:
  // How many identifiers a store keeps frames of by default: far more than a robot's
  // controllers have replies waiting at once (a reply is taken within milliseconds), and a few
  // hundred kilobytes at most.
  static constexpr size_t kDefaultLimit = 1024;

  // Keeps frames of at most `limit` identifiers (at least 1).
  explicit FrameStore(size_t limit = kDefaultLimit);

  // Keeps `frame`, replacing a frame with the same identifier that was not taken yet. When that
  // makes more than `limit` identifiers, the frame that arrived longest ago is dropped.
  void keep(const Frame& frame, uint64_t arrivedUs);
  // Takes, among the kept frames whose identifier matches `id` under `mask`, the one kept last.
  std::optional<ReceivedFrame> take(uint32_t id, uint32_t mask);
  // How many frames are kept and not taken.
  size_t size() const;

 private:
  using Arrivals = std::list<ReceivedFrame>;  // oldest first

  const size_t limit_;
  mutable std::mutex mutex_;
  Arrivals arrivals_;
  std::unordered_map<uint32_t, Arrivals::iterator> byId_;
};

}  // namespace brovasocketcan
