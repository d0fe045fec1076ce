#include "FrameStore.h"

#include <algorithm>

namespace brovasocketcan {

FrameStore::FrameStore(size_t limit) : limit_(std::max<size_t>(limit, 1)) {}

void FrameStore::keep(const Frame& frame, uint64_t arrivedUs) {
  std::lock_guard lock(mutex_);
  if (const auto kept = byId_.find(frame.id); kept != byId_.end()) {
    arrivals_.erase(kept->second);
    byId_.erase(kept);
  }
  arrivals_.push_back({.frame = frame, .arrivedUs = arrivedUs});
  byId_[frame.id] = std::prev(arrivals_.end());
  if (arrivals_.size() > limit_) {
    byId_.erase(arrivals_.front().frame.id);
    arrivals_.pop_front();
  }
}

std::optional<ReceivedFrame> FrameStore::take(uint32_t id, uint32_t mask) {
  std::lock_guard lock(mutex_);
  // Newest first: the first match is the one to hand out.
  for (auto it = arrivals_.rbegin(); it != arrivals_.rend(); ++it) {
    if ((it->frame.id & mask) != (id & mask)) continue;
    const ReceivedFrame taken = *it;
    byId_.erase(taken.frame.id);
    arrivals_.erase(std::next(it).base());
    return taken;
  }
  return std::nullopt;
}

size_t FrameStore::size() const {
  std::lock_guard lock(mutex_);
  return arrivals_.size();
}

}  // namespace brovasocketcan
