// What the simulated bus records of the calls made to it, and who hears its frames.
#pragma once

#include <cstdint>
#include <map>
#include <vector>

#include "BoundedRecord.h"
#include "brovasim/SimCan.h"

namespace brovasim {

// Kept only while recording is on (off by default), each the latest can::kRecordLimit entries
// unless setRecordLimit says otherwise.
struct Records {
  bool recording = false;
  BoundedRecord<SentFrame> sent{can::kRecordLimit};
  BoundedRecord<ReceiveCall> receives{can::kRecordLimit};
  BoundedRecord<CanInitialization> initializations{can::kRecordLimit};
  BoundedRecord<int32_t> cleaned{can::kRecordLimit};

  void setLimit(size_t limit) {
    sent.setLimit(limit);
    receives.setLimit(limit);
    initializations.setLimit(limit);
    cleaned.setLimit(limit);
  }
};

struct Observers {
  std::map<int, can::SendObserver> send;
  std::map<int, can::PutObserver> put;
  // Never reset, so an old subscription's id never removes a newer subscription.
  int next = 1;

  void clear() {
    send.clear();
    put.clear();
  }
  // Copies, so they can be called once the bus's lock is released.
  std::vector<can::SendObserver> sendObservers() const { return values(send); }
  std::vector<can::PutObserver> putObservers() const { return values(put); }

 private:
  template <class Observer>
  static std::vector<Observer> values(const std::map<int, Observer>& subscribed) {
    std::vector<Observer> result;
    result.reserve(subscribed.size());
    for (const auto& [id, observer] : subscribed) result.push_back(observer);
    return result;
  }
};

}  // namespace brovasim
