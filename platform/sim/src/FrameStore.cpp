#include "FrameStore.h"

namespace brovasim {

void FrameStore::keep(const KeptFrame& frame) { kept_[frame.id] = {frame, ++sequence_}; }

std::optional<KeptFrame> FrameStore::take(uint32_t id, uint32_t mask) {
  auto latest = kept_.end();
  for (auto it = kept_.begin(); it != kept_.end(); ++it) {
    if ((it->first & mask) != (id & mask)) continue;
    if (latest == kept_.end() || it->second.sequence > latest->second.sequence) latest = it;
  }
  if (latest == kept_.end()) return std::nullopt;
  const KeptFrame taken = latest->second.frame;
  kept_.erase(latest);
  return taken;
}

void FrameStore::remove(uint32_t id) { kept_.erase(id); }

void FrameStore::clear() { kept_.clear(); }

}  // namespace brovasim
