// One record of the simulated platform: the latest entries, at most a limit of them. Once full,
// each new entry drops the oldest, so a record never holds more than its limit whatever the
// length of the run. Not thread-safe: the lock of whoever owns it guards it.
#pragma once

#include <algorithm>
#include <cstddef>
#include <utility>
#include <vector>

namespace brovasim {

template <class T>
class BoundedRecord {
 public:
  explicit BoundedRecord(size_t limit) : limit_(limit) {}

  void push(T entry) {
    if (limit_ == 0) return;
    if (items_.size() < limit_) {
      // Grows by doubling, but never past the limit: the storage stays within `limit_` entries.
      if (items_.size() == items_.capacity()) {
        items_.reserve(std::min(limit_, std::max<size_t>(16, items_.capacity() * 2)));
      }
      items_.push_back(std::move(entry));
      return;
    }
    items_[oldest_] = std::move(entry);
    oldest_ = (oldest_ + 1) % limit_;
  }

  // The entries kept, oldest first, without copying them (this puts them in order first).
  const std::vector<T>& inOrder() {
    if (oldest_ != 0) {
      std::rotate(items_.begin(), items_.begin() + static_cast<std::ptrdiff_t>(oldest_),
                  items_.end());
      oldest_ = 0;
    }
    return items_;
  }
  std::vector<T> copy() { return inOrder(); }

  size_t size() const { return items_.size(); }
  size_t limit() const { return limit_; }

  // Keeps the latest `limit` entries of those kept, and at most that many from now on.
  void setLimit(size_t limit) {
    inOrder();
    if (items_.size() > limit) {
      items_.erase(items_.begin(), items_.end() - static_cast<std::ptrdiff_t>(limit));
    }
    limit_ = limit;
    items_.shrink_to_fit();
  }

  // Forgets every entry and gives back their storage.
  void clear() {
    std::vector<T>().swap(items_);
    oldest_ = 0;
  }

 private:
  size_t limit_;
  std::vector<T> items_;
  size_t oldest_ = 0;  // where the oldest entry is, once the record is full
};

}  // namespace brovasim
