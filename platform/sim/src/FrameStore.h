// The frames put on the simulated bus and not yet taken: the latest one per identifier, each
// handed to one receive (docs/receiving.md). Not thread-safe: the bus's lock guards it.
#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <optional>

#include "brovasim/SimCan.h"

namespace brovasim {

struct KeptFrame {
  uint32_t id = 0;
  std::array<uint8_t, 8> data{};
  uint8_t size = 0;  // as put, so it may exceed 8
  Clock::time_point time;
};

class FrameStore {
 public:
  // Keeps `frame`, replacing an untaken frame with the same identifier.
  void keep(const KeptFrame& frame);
  // Takes, among the kept frames whose identifier matches `id` under `mask`, the one kept last.
  std::optional<KeptFrame> take(uint32_t id, uint32_t mask);
  void remove(uint32_t id);
  void clear();

 private:
  struct Kept {
    KeptFrame frame;
    uint64_t sequence = 0;
  };

  std::map<uint32_t, Kept> kept_;
  uint64_t sequence_ = 0;
};

}  // namespace brovasim
