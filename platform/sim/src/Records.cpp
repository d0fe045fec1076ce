#include "Records.h"

#include "Bus.h"

namespace brovasim::can {

std::vector<SentFrame> sentFrames() {
  return withBus([](Bus& b) { return b.records.sent.copy(); });
}

std::vector<SentFrame> sentFrames(uint32_t id, int32_t bus) {
  checkBus(bus);
  std::vector<SentFrame> all = sentFrames();
  std::erase_if(all, [=](const SentFrame& f) { return f.id != id || f.bus != bus; });
  return all;
}

bool waitForSent(const std::function<bool(const std::vector<SentFrame>&)>& predicate,
                 std::chrono::milliseconds timeout) {
  Bus& b = bus();
  std::unique_lock lock(b.mutex);
  return b.sent.wait_for(lock, timeout, [&] { return predicate(b.records.sent.inOrder()); });
}

void clearSentFrames() {
  withBus([](Bus& b) { b.records.sent.clear(); });
}

void setRecording(bool on) {
  withBus([on](Bus& b) { b.records.recording = on; });
}

bool recording() {
  return withBus([](Bus& b) { return b.records.recording; });
}

void setRecordLimit(size_t entries) {
  withBus([entries](Bus& b) { b.records.setLimit(entries); });
}

std::vector<ReceiveCall> receiveCalls() {
  return withBus([](Bus& b) { return b.records.receives.copy(); });
}

std::vector<CanInitialization> initializations() {
  return withBus([](Bus& b) { return b.records.initializations.copy(); });
}

std::vector<int32_t> cleanedHandles() {
  return withBus([](Bus& b) { return b.records.cleaned.copy(); });
}

int subscribe(SendObserver observer) {
  return withBus([&](Bus& b) {
    const int id = b.observers.next++;
    b.observers.send.emplace(id, std::move(observer));
    return id;
  });
}

void unsubscribe(int subscription) {
  withBus([=](Bus& b) { b.observers.send.erase(subscription); });
}

int subscribePut(PutObserver observer) {
  return withBus([&](Bus& b) {
    const int id = b.observers.next++;
    b.observers.put.emplace(id, std::move(observer));
    return id;
  });
}

void unsubscribePut(int subscription) {
  withBus([=](Bus& b) { b.observers.put.erase(subscription); });
}

}  // namespace brovasim::can
