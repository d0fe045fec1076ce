// The simulated CAN bus behind the platform's CAN functions.
#include <algorithm>
#include <condition_variable>
#include <cstring>
#include <deque>
#include <map>
#include <mutex>
#include <stdexcept>

#include "brovasim/CandumpLog.h"
#include "brovasim/SimCan.h"
#include "hal/CAN.h"
#include "hal/CANAPI.h"
#include "hal/HALBase.h"

namespace brovasim {
namespace {

constexpr int32_t kFirstHandle = 0x0C0001;

struct KeptFrame {
  std::array<uint8_t, 8> data{};
  uint8_t size = 0;
  Clock::time_point time;
  uint64_t sequence = 0;
};

struct InjectedStatus {
  int32_t status = 0;
  int remaining = 0;

  // Takes one injected status if any is left.
  bool take(int32_t& out) {
    if (remaining <= 0) return false;
    --remaining;
    out = status;
    return true;
  }
};

struct Bus {
  std::mutex mutex;
  std::condition_variable sent;
  std::vector<SentFrame> sentFrames;
  std::vector<ReceiveCall> receiveCalls;
  std::map<uint32_t, KeptFrame> kept;
  uint64_t sequence = 0;
  bool recording = true;

  InjectedStatus sendFault;
  InjectedStatus receiveFault;
  InjectedStatus initFault;
  int receiveThrows = 0;
  int sendThrows = 0;

  bool systemActive = false;
  std::deque<bool> scriptedActive;
  int activeQueries = 0;

  int32_t nextHandle = kFirstHandle;
  std::vector<CanInitialization> initializations;
  std::vector<int32_t> cleaned;
  std::vector<int32_t> open;

  std::map<int, can::SendObserver> observers;
  std::map<int, can::PutObserver> putObservers;
  int nextObserver = 1;

  void resetLocked() {
    sentFrames.clear();
    receiveCalls.clear();
    recording = true;
    kept.clear();
    sendFault = {};
    receiveFault = {};
    initFault = {};
    receiveThrows = 0;
    sendThrows = 0;
    systemActive = false;
    scriptedActive.clear();
    activeQueries = 0;
    nextHandle = kFirstHandle;
    initializations.clear();
    cleaned.clear();
    open.clear();
    observers.clear();
    putObservers.clear();
  }
};

// Never destroyed: threads that outlive main (a robot program's keep-alive tasks) may still call
// into the bus while the process exits.
Bus& bus() {
  static Bus* const instance = new Bus;
  return *instance;
}

}  // namespace

namespace can {

void reset() {
  Bus& b = bus();
  std::lock_guard lock(b.mutex);
  b.resetLocked();
}

std::vector<SentFrame> sentFrames() {
  Bus& b = bus();
  std::lock_guard lock(b.mutex);
  return b.sentFrames;
}

std::vector<SentFrame> sentFrames(uint32_t id) {
  std::vector<SentFrame> all = sentFrames();
  std::erase_if(all, [id](const SentFrame& f) { return f.id != id; });
  return all;
}

bool waitForSent(const std::function<bool(const std::vector<SentFrame>&)>& predicate,
                 std::chrono::milliseconds timeout) {
  Bus& b = bus();
  std::unique_lock lock(b.mutex);
  return b.sent.wait_for(lock, timeout, [&] { return predicate(b.sentFrames); });
}

void clearSentFrames() {
  Bus& b = bus();
  std::lock_guard lock(b.mutex);
  b.sentFrames.clear();
}

void setRecording(bool on) {
  Bus& b = bus();
  std::lock_guard lock(b.mutex);
  b.recording = on;
}

std::vector<ReceiveCall> receiveCalls() {
  Bus& b = bus();
  std::lock_guard lock(b.mutex);
  return b.receiveCalls;
}

void putFrame(uint32_t id, const uint8_t* data, uint8_t size) {
  Bus& b = bus();
  KeptFrame frame;
  if (data != nullptr)
    std::copy_n(data, std::min<size_t>(size, frame.data.size()), frame.data.begin());
  frame.size = size;
  frame.time = Clock::now();
  std::vector<PutObserver> observers;
  {
    std::lock_guard lock(b.mutex);
    frame.sequence = ++b.sequence;
    b.kept[id] = frame;
    capture::record(id, frame.data.data(), std::min<uint8_t>(size, 8));
    observers.reserve(b.putObservers.size());
    for (const auto& [subscription, observer] : b.putObservers) observers.push_back(observer);
  }
  const PutFrame put{.time = frame.time, .id = id, .data = frame.data, .size = size};
  for (const auto& observer : observers) observer(put);
}

void putFrame(uint32_t id, const std::vector<uint8_t>& data) {
  putFrame(id, data.data(), static_cast<uint8_t>(std::min<size_t>(data.size(), 255)));
}

void removeFrame(uint32_t id) {
  Bus& b = bus();
  std::lock_guard lock(b.mutex);
  b.kept.erase(id);
}

void removeAllFrames() {
  Bus& b = bus();
  std::lock_guard lock(b.mutex);
  b.kept.clear();
}

void failNextSends(int32_t status, int count) {
  Bus& b = bus();
  std::lock_guard lock(b.mutex);
  b.sendFault = {status, count};
}

void failNextReceives(int32_t status, int count) {
  Bus& b = bus();
  std::lock_guard lock(b.mutex);
  b.receiveFault = {status, count};
}

void throwOnNextReceives(int count) {
  Bus& b = bus();
  std::lock_guard lock(b.mutex);
  b.receiveThrows = count;
}

void throwOnNextSends(int count) {
  Bus& b = bus();
  std::lock_guard lock(b.mutex);
  b.sendThrows = count;
}

void failNextInitializations(int32_t status, int count) {
  Bus& b = bus();
  std::lock_guard lock(b.mutex);
  b.initFault = {status, count};
}

void setSystemActive(bool active) {
  Bus& b = bus();
  std::lock_guard lock(b.mutex);
  b.systemActive = active;
}

void scriptSystemActive(const std::vector<bool>& answers) {
  Bus& b = bus();
  std::lock_guard lock(b.mutex);
  b.scriptedActive.assign(answers.begin(), answers.end());
}

int systemActiveQueries() {
  Bus& b = bus();
  std::lock_guard lock(b.mutex);
  return b.activeQueries;
}

void setNextHandle(int32_t next) {
  Bus& b = bus();
  std::lock_guard lock(b.mutex);
  b.nextHandle = next;
}

std::vector<CanInitialization> initializations() {
  Bus& b = bus();
  std::lock_guard lock(b.mutex);
  return b.initializations;
}

std::vector<int32_t> cleanedHandles() {
  Bus& b = bus();
  std::lock_guard lock(b.mutex);
  return b.cleaned;
}

std::vector<int32_t> openHandles() {
  Bus& b = bus();
  std::lock_guard lock(b.mutex);
  return b.open;
}

int subscribe(SendObserver observer) {
  Bus& b = bus();
  std::lock_guard lock(b.mutex);
  const int id = b.nextObserver++;
  b.observers.emplace(id, std::move(observer));
  return id;
}

void unsubscribe(int subscription) {
  Bus& b = bus();
  std::lock_guard lock(b.mutex);
  b.observers.erase(subscription);
}

int subscribePut(PutObserver observer) {
  Bus& b = bus();
  std::lock_guard lock(b.mutex);
  const int id = b.nextObserver++;
  b.putObservers.emplace(id, std::move(observer));
  return id;
}

void unsubscribePut(int subscription) {
  Bus& b = bus();
  std::lock_guard lock(b.mutex);
  b.putObservers.erase(subscription);
}

}  // namespace can
}  // namespace brovasim

using brovasim::bus;

extern "C" {

HAL_CANHandle HAL_InitializeCAN(HAL_CANManufacturer manufacturer, int32_t deviceId,
                                HAL_CANDeviceType deviceType, int32_t* status) {
  brovasim::Bus& b = bus();
  std::lock_guard lock(b.mutex);
  int32_t result = 0;
  b.initFault.take(result);
  const int32_t handle = b.nextHandle++;
  if (b.recording)
    b.initializations.push_back({manufacturer, deviceId, deviceType, handle, result});
  b.open.push_back(handle);
  if (status != nullptr) *status = result;
  return handle;
}

void HAL_CleanCAN(HAL_CANHandle handle) {
  brovasim::Bus& b = bus();
  std::lock_guard lock(b.mutex);
  if (b.recording) b.cleaned.push_back(handle);
  auto it = std::find(b.open.begin(), b.open.end(), handle);
  if (it != b.open.end()) b.open.erase(it);
}

void HAL_CAN_SendMessage(uint32_t messageID, const uint8_t* data, uint8_t dataSize,
                         int32_t periodMs, int32_t* status) {
  brovasim::Bus& b = bus();
  brovasim::SentFrame frame;
  frame.time = brovasim::Clock::now();
  frame.id = messageID;
  frame.size = dataSize;
  frame.periodMs = periodMs;
  if (data != nullptr)
    std::copy_n(data, std::min<size_t>(dataSize, frame.data.size()), frame.data.begin());
  int32_t result = 0;
  bool fail = false;
  std::vector<brovasim::can::SendObserver> observers;
  {
    std::lock_guard lock(b.mutex);
    b.sendFault.take(result);
    if (b.recording) b.sentFrames.push_back(frame);
    if (b.sendThrows > 0) {
      --b.sendThrows;
      fail = true;
    }
    observers.reserve(b.observers.size());
    for (const auto& [id, observer] : b.observers) observers.push_back(observer);
  }
  b.sent.notify_all();
  brovasim::capture::record(messageID, frame.data.data(), std::min<uint8_t>(dataSize, 8));
  if (fail) throw std::runtime_error("simulated CAN send failure");
  if (status != nullptr) *status = result;
  for (const auto& observer : observers) observer(frame);
}

void HAL_CAN_ReceiveMessage(uint32_t* messageID, uint32_t messageIDMask, uint8_t* data,
                            uint8_t* dataSize, uint32_t* timeStamp, int32_t* status) {
  brovasim::Bus& b = bus();
  std::unique_lock lock(b.mutex);
  brovasim::ReceiveCall call;
  call.time = brovasim::Clock::now();
  call.id = *messageID;
  call.mask = messageIDMask;
  if (b.receiveThrows > 0) {
    --b.receiveThrows;
    call.status = 1;
    if (b.recording) b.receiveCalls.push_back(call);
    lock.unlock();
    throw std::runtime_error("simulated CAN receive failure");
  }

  auto latest = b.kept.end();
  for (auto it = b.kept.begin(); it != b.kept.end(); ++it) {
    if ((it->first & messageIDMask) != (*messageID & messageIDMask)) continue;
    if (latest == b.kept.end() || it->second.sequence > latest->second.sequence) latest = it;
  }

  int32_t result = latest != b.kept.end() ? 0 : HAL_ERR_CANSessionMux_MessageNotFound;
  // An injected status comes with the kept frame's bytes, so the caller alone decides what the
  // status means; either way the frame was handed out and is taken.
  b.receiveFault.take(result);
  if (latest != b.kept.end()) {
    const brovasim::KeptFrame& frame = latest->second;
    *messageID = latest->first;
    std::memcpy(data, frame.data.data(), std::min<size_t>(frame.size, 8));
    *dataSize = frame.size;
    *timeStamp = static_cast<uint32_t>(
        std::chrono::duration_cast<std::chrono::milliseconds>(frame.time.time_since_epoch())
            .count());
    call.size = frame.size;
    b.kept.erase(latest);
  }
  call.status = result;
  if (b.recording) b.receiveCalls.push_back(call);
  *status = result;
}

HAL_Bool HAL_GetSystemActive(int32_t* status) {
  brovasim::Bus& b = bus();
  std::lock_guard lock(b.mutex);
  ++b.activeQueries;
  if (status != nullptr) *status = 0;
  if (!b.scriptedActive.empty()) {
    const bool answer = b.scriptedActive.front();
    b.scriptedActive.pop_front();
    return answer;
  }
  return b.systemActive;
}

}  // extern "C"
