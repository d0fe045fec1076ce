// The device models' entry: the library (its common/Simulation.cpp) loads this one in WPILib's
// simulation and calls BrovaDriverSim_attach, which registers the models on the simulation's CAN,
// I2C and simulated-device callbacks, in the callback types of the HAL generation built for.
#include <array>
#include <cstdint>
#include <mutex>

#include "BrovaDriverSim.h"
#include "Models.h"

#if BROVA_HAL >= 2027
#include "wpi/hal/CAN.h"
#include "wpi/hal/simulation/CanData.h"
#include "wpi/hal/simulation/I2CData.h"
#include "wpi/hal/simulation/SimDeviceData.h"
#else
#include "hal/CAN.h"
#include "hal/simulation/CanData.h"
#include "hal/simulation/I2CData.h"
#include "hal/simulation/SimDeviceData.h"
#endif

namespace {

// The I2C ports the board may sit on.
constexpr int32_t kI2CPorts = 2;
constexpr const char* kPrefixes[] = {"BrovaQuad[", "BrovaSmall[", "Ferux["};

void created(const char* name, void*, HAL_SimDeviceHandle device) {
  brovawpilib::deviceCreated(name, device);
}
void freed(const char*, void*, HAL_SimDeviceHandle device) { brovawpilib::deviceFreed(device); }

#if BROVA_HAL >= 2027
void sent(const char*, void*, int32_t bus, uint32_t id, const HAL_CANMessage* message, int32_t,
          int32_t*) {
  if (message != nullptr) brovawpilib::frameSent(bus, id, message->data, message->dataSize);
}

void received(const char*, void*, int32_t bus, uint32_t id, HAL_CANReceiveMessage* message,
              int32_t* status) {
  std::array<uint8_t, 8> data{};
  if (message == nullptr || !brovawpilib::takeReply(bus, id, data)) return;
  message->message.flags = 0;
  message->message.dataSize = static_cast<uint8_t>(data.size());
  std::copy(data.begin(), data.end(), message->message.data);
  message->timeStamp = 0;
  if (status != nullptr) *status = 0;
}
#else
void sent(const char*, void*, uint32_t id, const uint8_t* data, uint8_t size, int32_t, int32_t*) {
  brovawpilib::frameSent(0, id, data, size);
}

void received(const char*, void*, uint32_t* id, uint32_t, uint8_t* data, uint8_t* size,
              uint32_t* timeStamp, int32_t* status) {
  std::array<uint8_t, 8> reply{};
  if (id == nullptr || data == nullptr || size == nullptr) return;
  if (!brovawpilib::takeReply(0, *id, reply)) return;
  std::copy(reply.begin(), reply.end(), data);
  *size = static_cast<uint8_t>(reply.size());
  if (timeStamp != nullptr) *timeStamp = 0;
  if (status != nullptr) *status = 0;
}
#endif

void written(const char*, void* port, const unsigned char* buffer, unsigned int count) {
  brovawpilib::written(static_cast<int32_t>(reinterpret_cast<intptr_t>(port)), buffer, count);
}
void read(const char*, void* port, unsigned char* buffer, unsigned int count) {
  brovawpilib::read(static_cast<int32_t>(reinterpret_cast<intptr_t>(port)), buffer, count);
}

}  // namespace

extern "C" int BrovaDriverSim_attach(void) {
  static std::once_flag once;
  std::call_once(once, [] {
    HALSIM_RegisterCanSendMessageCallback(&sent, nullptr);
    HALSIM_RegisterCanReceiveMessageCallback(&received, nullptr);
    for (int32_t port = 0; port < kI2CPorts; ++port) {
      void* param = reinterpret_cast<void*>(static_cast<intptr_t>(port));
      HALSIM_RegisterI2CWriteCallback(port, &written, param);
      HALSIM_RegisterI2CReadCallback(port, &read, param);
    }
    for (const char* prefix : kPrefixes) {
      HALSIM_RegisterSimDeviceCreatedCallback(prefix, nullptr, &created, true);
      HALSIM_RegisterSimDeviceFreedCallback(prefix, nullptr, &freed, false);
    }
  });
  return 0;
}
