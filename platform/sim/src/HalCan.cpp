// The platform's CAN functions over the simulated buses, in the form of the HAL generation the
// build targets (BROVA_HAL): both forms reach the buses through the same functions below. The
// 2026 form names no bus and reaches bus 0; the 2027 form reaches the bus it names, and a bus
// the simulated robot does not have refuses the call.
#include <algorithm>
#include <cstring>
#include <optional>
#include <stdexcept>

#include "Bus.h"
#include "FromEnvironment.h"
#include "brovasim/CandumpLog.h"

#if BROVA_HAL >= 2027
#include "wpi/hal/CAN.h"
#include "wpi/hal/CANAPI.h"
#include "wpi/hal/Errors.h"
#else
#include "hal/CAN.h"
#include "hal/CANAPI.h"
#endif

namespace brovasim {
namespace {

// What HAL_InitializeCAN returns when it hands out no handle.
#if BROVA_HAL >= 2027
constexpr HAL_CANHandle kNoHandle = HAL_INVALID_HANDLE;
#else
constexpr HAL_CANHandle kNoHandle = HAL_kInvalidHandle;
#endif

// A frame taken from the bus, as both forms report it.
struct Taken {
  uint32_t id = 0;
  std::array<uint8_t, 8> data{};
  uint8_t size = 0;  // as it was put, so it may exceed 8
  Clock::time_point time;
};

// What a call on `bus` reports when the simulated robot has no such bus; nothing when it has.
// Only the 2027 calls name a bus.
std::optional<int32_t> refusal(int32_t bus) {
#if BROVA_HAL >= 2027
  if (!can::isBus(bus)) return HAL_PARAMETER_OUT_OF_RANGE;
#endif
  (void)bus;
  return std::nullopt;
}

int32_t initialize(int32_t bus, int32_t manufacturer, int32_t deviceId, int32_t deviceType,
                   int32_t* status) {
  const auto refused = refusal(bus);
  int32_t result = refused.value_or(0);
  const int32_t handle = withBus([&](Bus& b) {
    int32_t opened = kNoHandle;
    if (!refused) {
      b.can[bus].faults.initialization.take(result);
      opened = b.handles.openNext();
    }
    if (b.records.recording) {
      b.records.initializations.push({manufacturer, deviceId, deviceType, opened, result, bus});
    }
    return opened;
  });
  if (status != nullptr) *status = result;
  return handle;
}

// Sends `frame` on frame.bus.
void send(SentFrame frame, const uint8_t* data, int32_t* status) {
  if (const auto refused = refusal(frame.bus)) {
    if (status != nullptr) *status = *refused;
    return;
  }
  // Before the first frame, so that the controllers hear everything from the first on.
  attachControllersFromEnvironment();
  frame.time = Clock::now();
  if (data != nullptr) {
    std::copy_n(data, std::min<size_t>(frame.size, frame.data.size()), frame.data.begin());
  }
  int32_t result = 0;
  bool fail = false;
  const auto observers = withBus([&](Bus& b) {
    Faults& faults = b.can[frame.bus].faults;
    faults.send.take(result);
    if (b.records.recording) b.records.sent.push(frame);
    fail = faults.sendThrows.take();
    return b.observers.sendObservers();
  });
  bus().sent.notify_all();
  capture::record(frame.id, frame.data.data(), std::min<uint8_t>(frame.size, 8), frame.bus);
  if (fail) throw std::runtime_error("simulated CAN send failure");
  if (status != nullptr) *status = result;
  for (const auto& observer : observers) observer(frame);
}

// Takes the latest matching frame kept on `bus`; an injected status comes with it, and an
// injected throw takes nothing (docs/receiving.md). Returns the status.
int32_t receive(int32_t bus, uint32_t id, uint32_t mask, std::optional<Taken>& taken) {
  ReceiveCall call;
  call.time = Clock::now();
  call.id = id;
  call.mask = mask;
  call.bus = bus;
  const auto refused = refusal(bus);
  int32_t result = 0;
  const bool fail = withBus([&](Bus& b) {
    if (refused) {
      result = call.status = *refused;
      if (b.records.recording) b.records.receives.push(call);
      return false;
    }
    Faults& faults = b.can[bus].faults;
    if (faults.receiveThrows.take()) {
      call.status = 1;
      if (b.records.recording) b.records.receives.push(call);
      return true;
    }
    const auto frame = b.can[bus].frames.take(id, mask);
    result = frame ? 0 : HAL_ERR_CANSessionMux_MessageNotFound;
    faults.receive.take(result);
    if (frame) {
      taken = Taken{frame->id, frame->data, frame->size, frame->time};
      call.size = frame->size;
    }
    call.status = result;
    if (b.records.recording) b.records.receives.push(call);
    return false;
  });
  if (fail) throw std::runtime_error("simulated CAN receive failure");
  return result;
}

template <typename Unit>
auto sinceEpoch(Clock::time_point time) {
  return std::chrono::duration_cast<Unit>(time.time_since_epoch()).count();
}

}  // namespace

namespace can {

void sendFrame(uint32_t id, const uint8_t* data, uint8_t size, int32_t bus) {
  checkBus(bus);
  SentFrame frame;
  frame.id = id;
  frame.size = size;
  frame.bus = bus;
  send(frame, data, nullptr);
}

}  // namespace can
}  // namespace brovasim

using namespace brovasim;

extern "C" {

#if BROVA_HAL >= 2027

// The 2027 receive matches its identifier exactly.
constexpr uint32_t kFullMask = 0x1FFFFFFF;

HAL_CANHandle HAL_InitializeCAN(int32_t busId, HAL_CANManufacturer manufacturer, int32_t deviceId,
                                HAL_CANDeviceType deviceType, int32_t* status) {
  return initialize(busId, manufacturer, deviceId, deviceType, status);
}

void HAL_CAN_SendMessage(int32_t busId, uint32_t messageId, const struct HAL_CANMessage* message,
                         int32_t periodMs, int32_t* status) {
  if (message == nullptr) {
    if (status != nullptr) *status = HAL_ERR_CANSessionMux_InvalidBuffer;
    return;
  }
  SentFrame frame;
  frame.id = messageId;
  frame.size = message->dataSize;
  frame.periodMs = periodMs;
  frame.flags = message->flags;
  frame.bus = busId;
  send(frame, message->data, status);
}

// The identifier is matched exactly. The time stamp is the steady clock's, in microseconds.
void HAL_CAN_ReceiveMessage(int32_t busId, uint32_t messageId,
                            struct HAL_CANReceiveMessage* message, int32_t* status) {
  std::optional<Taken> taken;
  const int32_t result = receive(busId, messageId, kFullMask, taken);
  if (taken && message != nullptr) {
    std::memcpy(message->message.data, taken->data.data(), std::min<size_t>(taken->size, 8));
    message->message.dataSize = taken->size;
    message->message.flags = 0;
    message->timeStamp = static_cast<uint64_t>(sinceEpoch<std::chrono::microseconds>(taken->time));
  }
  if (status != nullptr) *status = result;
}

#else

HAL_CANHandle HAL_InitializeCAN(HAL_CANManufacturer manufacturer, int32_t deviceId,
                                HAL_CANDeviceType deviceType, int32_t* status) {
  return initialize(0, manufacturer, deviceId, deviceType, status);
}

void HAL_CAN_SendMessage(uint32_t messageID, const uint8_t* data, uint8_t dataSize,
                         int32_t periodMs, int32_t* status) {
  SentFrame frame;
  frame.id = messageID;
  frame.size = dataSize;
  frame.periodMs = periodMs;
  send(frame, data, status);
}

// The time stamp is the steady clock's, in milliseconds, wrapping at 32 bits.
void HAL_CAN_ReceiveMessage(uint32_t* messageID, uint32_t messageIDMask, uint8_t* data,
                            uint8_t* dataSize, uint32_t* timeStamp, int32_t* status) {
  std::optional<Taken> taken;
  const int32_t result = receive(0, *messageID, messageIDMask, taken);
  if (taken) {
    *messageID = taken->id;
    std::memcpy(data, taken->data.data(), std::min<size_t>(taken->size, 8));
    *dataSize = taken->size;
    *timeStamp = static_cast<uint32_t>(sinceEpoch<std::chrono::milliseconds>(taken->time));
  }
  *status = result;
}

#endif

void HAL_CleanCAN(HAL_CANHandle handle) {
  withBus([=](Bus& b) {
    if (b.records.recording) b.records.cleaned.push(handle);
    b.handles.clean(handle);
  });
}

}  // extern "C"
