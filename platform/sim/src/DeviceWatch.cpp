#include "DeviceWatch.h"

#include <map>
#include <memory>
#include <mutex>
#include <utility>

#if BROVA_HAL >= 2027
#include "wpi/hal/simulation/SimDeviceData.h"
#else
#include "hal/simulation/SimDeviceData.h"
#endif

namespace brovasim {
namespace {

struct Handlers {
  std::function<void(int32_t)> created;
  std::function<void()> freed;
};

// The watches' handlers by the number their callbacks carry; a callback finds them here.
std::mutex watchesLock;
std::map<uintptr_t, std::shared_ptr<const Handlers>>& watches() {
  static auto* all = new std::map<uintptr_t, std::shared_ptr<const Handlers>>;  // never destroyed
  return *all;
}
uintptr_t nextId = 1;

std::shared_ptr<const Handlers> handlersOf(void* param) {
  std::lock_guard lock(watchesLock);
  const auto it = watches().find(reinterpret_cast<uintptr_t>(param));
  return it == watches().end() ? nullptr : it->second;
}

}  // namespace

DeviceWatch::DeviceWatch(const std::string& name, std::function<void(int32_t)> created,
                         std::function<void()> freed) {
  {
    std::lock_guard lock(watchesLock);
    id_ = nextId++;
    watches()[id_] =
        std::make_shared<const Handlers>(Handlers{std::move(created), std::move(freed)});
  }
  void* param = reinterpret_cast<void*>(id_);
  // The exact name, as the prefix it is: "BrovaQuad[5]" is no prefix of "BrovaQuad[50]".
  createdCallback_ = HALSIM_RegisterSimDeviceCreatedCallback(
      name.c_str(), param,
      [](const char*, void* id, HAL_SimDeviceHandle device) {
        if (const auto handlers = handlersOf(id)) handlers->created(device);
      },
      true);
  freedCallback_ = HALSIM_RegisterSimDeviceFreedCallback(
      name.c_str(), param,
      [](const char*, void* id, HAL_SimDeviceHandle) {
        if (const auto handlers = handlersOf(id)) handlers->freed();
      },
      false);
}

DeviceWatch::~DeviceWatch() {
  HALSIM_CancelSimDeviceCreatedCallback(createdCallback_);
  HALSIM_CancelSimDeviceFreedCallback(freedCallback_);
  std::lock_guard lock(watchesLock);
  watches().erase(id_);
}

}  // namespace brovasim
