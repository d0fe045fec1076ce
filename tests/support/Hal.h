// The platform's HAL calls as the tests make them: the headers of the generation the build
// targets (BROVA_HAL), and the CAN send and receive in one form for both generations.
#pragma once

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdint>

#if BROVA_HAL >= 2027
#include "wpi/hal/CAN.h"
#include "wpi/hal/CANAPI.h"
#include "wpi/hal/Errors.h"
#include "wpi/hal/HAL.h"
#include "wpi/hal/I2C.h"
#else
#include "hal/CAN.h"
#include "hal/CANAPI.h"
#include "hal/Errors.h"
#include "hal/HALBase.h"
#include "hal/I2C.h"
#endif

namespace brova::testing::hal {

inline constexpr uint32_t kFullMask = 0x1FFFFFFF;
#if BROVA_HAL >= 2027
inline constexpr HAL_CANHandle kInvalidHandle = HAL_INVALID_HANDLE;
inline constexpr HAL_I2CPort kI2CPort1 = HAL_I2C_PORT_1;
#else
inline constexpr HAL_CANHandle kInvalidHandle = HAL_kInvalidHandle;
inline constexpr HAL_I2CPort kI2CPort1 = HAL_I2C_kMXP;
#endif
// Whether a receive takes a mask: the 2027 receive matches its identifier exactly.
inline constexpr bool kMaskedReceive = BROVA_HAL < 2027;
// Whether the CAN calls name a bus. The 2026 calls are all on bus 0: the functions below ignore
// their `bus` there, and a test of another bus checks this first.
inline constexpr bool kCallsNameABus = BROVA_HAL >= 2027;

// What a receive reported.
struct Received {
  int32_t status = 12345;
  uint32_t id = 0;
  std::array<uint8_t, 8> data{};
  uint8_t size = 0;
  uint64_t timeStamp = 0;
};

// The simulated and SocketCAN platforms stamp a received frame with the steady clock: in
// microseconds with the 2027 receive, in milliseconds wrapping at 32 bits with the 2026 one.
// How many milliseconds lie between two such stamps.
inline double millisecondsBetween(uint64_t earlier, uint64_t later) {
#if BROVA_HAL >= 2027
  return static_cast<double>(later - earlier) / 1000.0;
#else
  return static_cast<uint32_t>(later - earlier);
#endif
}
// The steady clock now, as the platforms stamp frames.
inline uint64_t timeStampNow() {
  const auto now = std::chrono::steady_clock::now().time_since_epoch();
#if BROVA_HAL >= 2027
  return std::chrono::duration_cast<std::chrono::microseconds>(now).count();
#else
  return static_cast<uint32_t>(std::chrono::duration_cast<std::chrono::milliseconds>(now).count());
#endif
}

// Sends `size` bytes (at most 64) as frame `id` on `bus`; the status.
inline int32_t send(uint32_t id, const uint8_t* data, uint8_t size, int32_t periodMs = 0,
                    int32_t bus = 0) {
  int32_t status = 12345;
#if BROVA_HAL >= 2027
  HAL_CANMessage message{};
  message.dataSize = size;
  if (data != nullptr) std::copy_n(data, std::min<uint8_t>(size, 64), message.data);
  // No data for a non-empty frame is no message at all.
  HAL_CAN_SendMessage(bus, id, data == nullptr && size > 0 ? nullptr : &message, periodMs, &status);
#else
  (void)bus;
  HAL_CAN_SendMessage(id, data, size, periodMs, &status);
#endif
  return status;
}

// Receives frame `id` (under `mask`, where the generation takes one) from `bus`.
inline Received receive(uint32_t id, uint32_t mask = kFullMask, int32_t bus = 0) {
  Received r;
  r.id = id;
#if BROVA_HAL >= 2027
  (void)mask;
  HAL_CANReceiveMessage message{};
  HAL_CAN_ReceiveMessage(bus, id, &message, &r.status);
  r.size = message.message.dataSize;
  std::copy_n(message.message.data, std::min<uint8_t>(r.size, 8), r.data.begin());
  r.timeStamp = message.timeStamp;
#else
  (void)bus;
  uint32_t timeStamp = 0;
  HAL_CAN_ReceiveMessage(&r.id, mask, r.data.data(), &r.size, &timeStamp, &r.status);
  r.timeStamp = timeStamp;
#endif
  return r;
}

// A CAN handle for `device`, as the driver asks for one, on `bus`.
inline HAL_CANHandle initializeCan(int32_t manufacturer, int32_t device, int32_t deviceType,
                                   int32_t* status, int32_t bus = 0) {
#if BROVA_HAL >= 2027
  return HAL_InitializeCAN(bus, static_cast<HAL_CANManufacturer>(manufacturer), device,
                           static_cast<HAL_CANDeviceType>(deviceType), status);
#else
  (void)bus;
  return HAL_InitializeCAN(static_cast<HAL_CANManufacturer>(manufacturer), device,
                           static_cast<HAL_CANDeviceType>(deviceType), status);
#endif
}

}  // namespace brova::testing::hal
