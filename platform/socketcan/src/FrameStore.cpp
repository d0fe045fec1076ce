#include "FrameStore.h"

namespace brovasocketcan {

void FrameStore::keep(const Frame& frame, uint64_t arrivedUs) {
  std::lock_guard lock(mutex_);
  kept_[frame.id] = {.received = {.frame = frame, .arrivedUs = arrivedUs}, .sequence = ++sequence_};
}

std::optional<ReceivedFrame> FrameStore::take(uint32_t id, uint32_t mask) {
  std::lock_guard lock(mutex_);
  auto latest = kept_.end();
  for (auto it = kept_.begin(); it != kept_.end(); ++it) {
    if ((it->first & mask) != (id & mask)) continue;
    if (latest == kept_.end() || it->second.sequence > latest->second.sequence) latest = it;
  }
  if (latest == kept_.end()) return std::nullopt;
  const ReceivedFrame taken = latest->second.received;
  kept_.erase(latest);
  return taken;
}

size_t FrameStore::size() const {
  std::lock_guard lock(mutex_);
  return kept_.size();
}

}  // namespace brovasocketcan
