// The platform's CAN and robot-state functions over the simulated bus.
#include <algorithm>
#include <cstring>
#include <stdexcept>

#include "Bus.h"
#include "brovasim/CandumpLog.h"
#include "hal/CAN.h"
#include "hal/CANAPI.h"
#include "hal/HALBase.h"

using brovasim::Bus;
using brovasim::withBus;

extern "C" {

HAL_CANHandle HAL_InitializeCAN(HAL_CANManufacturer manufacturer, int32_t deviceId,
                                HAL_CANDeviceType deviceType, int32_t* status) {
  int32_t result = 0;
  const int32_t handle = withBus([&](Bus& b) {
    b.faults.initialization.take(result);
    const int32_t opened = b.handles.openNext();
    if (b.records.recording) {
      b.records.initializations.push_back({manufacturer, deviceId, deviceType, opened, result});
    }
    return opened;
  });
  if (status != nullptr) *status = result;
  return handle;
}

void HAL_CleanCAN(HAL_CANHandle handle) {
  withBus([=](Bus& b) {
    if (b.records.recording) b.records.cleaned.push_back(handle);
    b.handles.clean(handle);
  });
}

void HAL_CAN_SendMessage(uint32_t messageID, const uint8_t* data, uint8_t dataSize,
                         int32_t periodMs, int32_t* status) {
  brovasim::SentFrame frame;
  frame.time = brovasim::Clock::now();
  frame.id = messageID;
  frame.size = dataSize;
  frame.periodMs = periodMs;
  if (data != nullptr)
    std::copy_n(data, std::min<size_t>(dataSize, frame.data.size()), frame.data.begin());
  int32_t result = 0;
  bool fail = false;
  const auto observers = withBus([&](Bus& b) {
    b.faults.send.take(result);
    if (b.records.recording) b.records.sent.push_back(frame);
    fail = b.faults.sendThrows.take();
    return b.observers.sendObservers();
  });
  brovasim::bus().sent.notify_all();
  brovasim::capture::record(messageID, frame.data.data(), std::min<uint8_t>(dataSize, 8));
  if (fail) throw std::runtime_error("simulated CAN send failure");
  if (status != nullptr) *status = result;
  for (const auto& observer : observers) observer(frame);
}

// Takes the latest matching kept frame; an injected status comes with it, and an injected
// throw takes nothing (docs/receiving.md).
void HAL_CAN_ReceiveMessage(uint32_t* messageID, uint32_t messageIDMask, uint8_t* data,
                            uint8_t* dataSize, uint32_t* timeStamp, int32_t* status) {
  brovasim::ReceiveCall call;
  call.time = brovasim::Clock::now();
  call.id = *messageID;
  call.mask = messageIDMask;
  const bool fail = withBus([&](Bus& b) {
    if (b.faults.receiveThrows.take()) {
      call.status = 1;
      if (b.records.recording) b.records.receives.push_back(call);
      return true;
    }
    const auto frame = b.frames.take(*messageID, messageIDMask);
    int32_t result = frame ? 0 : HAL_ERR_CANSessionMux_MessageNotFound;
    b.faults.receive.take(result);
    if (frame) {
      *messageID = frame->id;
      std::memcpy(data, frame->data.data(), std::min<size_t>(frame->size, 8));
      *dataSize = frame->size;
      *timeStamp = static_cast<uint32_t>(
          std::chrono::duration_cast<std::chrono::milliseconds>(frame->time.time_since_epoch())
              .count());
      call.size = frame->size;
    }
    call.status = result;
    if (b.records.recording) b.records.receives.push_back(call);
    *status = result;
    return false;
  });
  if (fail) throw std::runtime_error("simulated CAN receive failure");
}

HAL_Bool HAL_GetSystemActive(int32_t* status) {
  if (status != nullptr) *status = 0;
  return withBus([](Bus& b) { return b.robot.answerActive(); });
}

}  // extern "C"
