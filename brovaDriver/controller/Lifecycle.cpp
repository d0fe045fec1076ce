#include "controller/Lifecycle.h"

#include "brova/Limits.hpp"
#include "can/Link.h"
#include "common/Console.h"
#include "controller/Claims.h"
#include "controller/Commands.h"
#include "controller/Simulated.h"

namespace brova::controller {

int32_t create(const Model& model, int16_t device, int16_t frequency, bool* flag,
               uint8_t motor) noexcept {
  // The device number is checked first: both out of range reports only the device line.
  if (device < kLowestDeviceNumber || device > kHighestDeviceNumber) {
    console::reportStatus(console::kDeviceIdOutOfRange);
    return 0;
  }
  if (frequency < kLowestFrequency || frequency > kHighestFrequency) {
    console::reportStatus(console::kFrequencyOutOfRange);
    return 0;
  }
  bool claimed = false;
  bool obtained = false;
  int32_t handle = 0;
  try {
    // A device an object drives is left to it: the create fails, the slot unchanged.
    if (const auto holder = claims::takeForEntryPoint(device)) {
      console::report(*holder + std::string(console::kOpenAsObject));
      return 0;
    }
    claimed = true;
    model.state.deviceNumber.store(device, std::memory_order_release);
    handle = can::initializeDevice({.bus = 0, .device = device});
    obtained = true;
    simulated::openForHandle(handle, model, device);
    configureMotor(model, motor, frequency);
    if (flag != nullptr) *flag = false;
    model.state.keepAlive.start(device, handle);
    if (!model.greeting.empty()) console::report(model.greeting);
    return handle;
  } catch (...) {
    console::reportStatus(console::kInitializationFailed);
  }
  // The caller never sees this handle, so it is released here.
  if (obtained) {
    simulated::closeForHandle(handle);
    can::cleanDevice(handle);
  }
  if (claimed) claims::releaseForEntryPoint(device);
  return 0;
}

void destroy(const Model& model, int32_t handle) noexcept {
  try {
    if (const auto device = model.state.keepAlive.stop(handle)) {
      claims::releaseForEntryPoint(*device);
    }
  } catch (...) {
    // Joining can only fail on a broken thread; the handle is released all the same.
  }
  simulated::closeForHandle(handle);
  can::cleanDevice(handle);
}

}  // namespace brova::controller
