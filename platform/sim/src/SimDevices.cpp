// The simulated devices a program creates and the values it gives them (HAL_CreateSimDevice and
// the rest), and a simulation's side of them (HALSIM_...), as WPILib's simulation has them: a
// device name in use is refused (handle 0), a value name is unique on its device, a simulation
// hears of devices by name prefix and of values by device or value, a changed callback is
// called on every set with the value set, and once a device is freed its handle and its values'
// handles are refused: a get answers a zeroed value of type HAL_UNASSIGNED, a set does nothing.
//
// No callback is called with the registry locked: what it is handed is copied first, and each
// callback is looked up again just before it is called, so a callback cancelled meanwhile is not
// called. A callback may thus call any of these functions, on its own thread or another.
//
// Handles: a device's is 1..kLastDevice, given in turn, and after a free or a reset the same
// number comes back only once every other has been given, so a program's stale handle stays
// refused. A value's handle is its device's in the upper 16 bits and the value's number on the
// device (1..kLastValue, in the order of creation) in the lower ones.
#include <cstdint>
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#if BROVA_HAL >= 2027
#include "wpi/hal/SimDevice.h"
#include "wpi/hal/simulation/SimDeviceData.h"
#else
#include "hal/SimDevice.h"
#include "hal/simulation/SimDeviceData.h"
#endif

namespace brovasim {
namespace {

constexpr HAL_SimDeviceHandle kLastDevice = 0x7FFF;  // a value handle stays positive
constexpr int32_t kLastValue = 0xFFFF;

struct Value {
  std::string name;
  int32_t direction = 0;
  HAL_Value value{};
};

struct Device {
  std::string name;
  std::vector<Value> values;  // value number n at n - 1
  std::map<std::string, int32_t, std::less<>> numbers;
};

// A device callback, for the devices whose names start with `prefix`.
struct DeviceListener {
  std::string prefix;
  HALSIM_SimDeviceCallback function = nullptr;
  void* param = nullptr;
};

// A value callback, for the values of one device (created) or one value (changed): `owner`.
struct ValueListener {
  int32_t owner = 0;
  HALSIM_SimValueCallback function = nullptr;
  void* param = nullptr;
};

// What a value callback is handed, copied out of the registry.
struct ValueSeen {
  std::string name;
  HAL_SimValueHandle handle = 0;
  int32_t direction = 0;
  HAL_Value value{};
};

struct Registry {
  std::mutex mutex;
  std::map<HAL_SimDeviceHandle, Device> devices;  // by handle: in the order of creation
  std::map<std::string, HAL_SimDeviceHandle, std::less<>> named;
  HAL_SimDeviceHandle lastDevice = 0;
  int32_t lastUid = 0;
  // Callbacks by uid, so in the order of registration.
  std::map<int32_t, DeviceListener> created;
  std::map<int32_t, DeviceListener> freed;
  std::map<int32_t, ValueListener> valueCreated;
  std::map<int32_t, ValueListener> valueChanged;

  int32_t nextUid() {
    if (lastUid == INT32_MAX) lastUid = 0;
    return ++lastUid;
  }

  Device* device(HAL_SimDeviceHandle handle) {
    auto it = devices.find(handle);
    return it == devices.end() ? nullptr : &it->second;
  }

  Value* value(HAL_SimValueHandle handle) {
    if (handle <= 0) return nullptr;
    Device* owner = device(handle >> 16);
    const int32_t number = handle & kLastValue;
    if (owner == nullptr || number == 0 || number > static_cast<int32_t>(owner->values.size())) {
      return nullptr;
    }
    return &owner->values[number - 1];
  }
};

// Never destroyed, like the CAN bus: a program's threads may still free devices while the
// process exits.
Registry& registry() {
  static Registry* const instance = new Registry;
  return *instance;
}

bool startsWith(std::string_view name, const std::string& prefix) {
  return name.starts_with(prefix);
}

std::string orEmpty(const char* text) { return text == nullptr ? std::string() : text; }

// The uids of the device callbacks that hear of `name`.
std::vector<int32_t> hearing(const std::map<int32_t, DeviceListener>& listeners,
                             std::string_view name) {
  std::vector<int32_t> uids;
  for (const auto& [uid, listener] : listeners) {
    if (startsWith(name, listener.prefix)) uids.push_back(uid);
  }
  return uids;
}

// The uids of the value callbacks of `owner`.
std::vector<int32_t> hearing(const std::map<int32_t, ValueListener>& listeners, int32_t owner) {
  std::vector<int32_t> uids;
  for (const auto& [uid, listener] : listeners) {
    if (listener.owner == owner) uids.push_back(uid);
  }
  return uids;
}

// Calls, in turn and with the registry unlocked, each callback of `uids` still in `listeners`
// when its turn comes: function(name, param, rest...).
template <typename Listeners, typename... Rest>
void notify(Listeners Registry::*listeners, const std::vector<int32_t>& uids, const char* name,
            Rest... rest) {
  Registry& r = registry();
  for (const int32_t uid : uids) {
    typename Listeners::mapped_type listener;
    {
      std::lock_guard lock(r.mutex);
      const auto it = (r.*listeners).find(uid);
      if (it == (r.*listeners).end()) continue;
      listener = it->second;
    }
    listener.function(name, listener.param, rest...);
  }
}

void notify(HALSIM_SimValueCallback function, void* param, const std::vector<ValueSeen>& seen) {
  for (const ValueSeen& v : seen) {
    function(v.name.c_str(), param, v.handle, v.direction, &v.value);
  }
}

std::vector<ValueSeen> valuesOf(HAL_SimDeviceHandle handle, const Device& device) {
  std::vector<ValueSeen> seen;
  for (size_t i = 0; i < device.values.size(); ++i) {
    const Value& v = device.values[i];
    seen.push_back({v.name, (handle << 16) | static_cast<int32_t>(i + 1), v.direction, v.value});
  }
  return seen;
}

// Sets value `handle` (through `change`, given the value) and calls its changed callbacks.
template <typename Change>
void changeValue(HAL_SimValueHandle handle, Change&& change) {
  Registry& r = registry();
  ValueSeen seen;
  std::vector<int32_t> uids;
  {
    std::lock_guard lock(r.mutex);
    Value* value = r.value(handle);
    if (value == nullptr || !change(value->value)) return;
    seen = {value->name, handle, value->direction, value->value};
    uids = hearing(r.valueChanged, handle);
  }
  notify(&Registry::valueChanged, uids, seen.name.c_str(), seen.handle, seen.direction,
         &seen.value);
}

}  // namespace
}  // namespace brovasim

using brovasim::Registry;
using brovasim::registry;

extern "C" {

HAL_SimDeviceHandle HAL_CreateSimDevice(const char* name) {
  if (name == nullptr) return 0;
  Registry& r = registry();
  HAL_SimDeviceHandle handle = 0;
  std::vector<int32_t> uids;
  {
    std::lock_guard lock(r.mutex);
    if (r.named.contains(name)) return 0;
    for (HAL_SimDeviceHandle tried = 0; tried < brovasim::kLastDevice && handle == 0; ++tried) {
      r.lastDevice = r.lastDevice % brovasim::kLastDevice + 1;
      if (!r.devices.contains(r.lastDevice)) handle = r.lastDevice;
    }
    if (handle == 0) return 0;  // every handle in use
    r.devices[handle].name = name;
    r.named.emplace(name, handle);
    uids = brovasim::hearing(r.created, name);
  }
  const std::string copy = name;
  brovasim::notify(&Registry::created, uids, copy.c_str(), handle);
  return handle;
}

void HAL_FreeSimDevice(HAL_SimDeviceHandle handle) {
  Registry& r = registry();
  std::string name;
  std::vector<int32_t> uids;
  {
    std::lock_guard lock(r.mutex);
    auto device = r.devices.find(handle);
    if (device == r.devices.end()) return;
    name = std::move(device->second.name);
    r.devices.erase(device);
    r.named.erase(name);
    std::erase_if(r.valueCreated, [&](const auto& entry) { return entry.second.owner == handle; });
    std::erase_if(r.valueChanged,
                  [&](const auto& entry) { return entry.second.owner >> 16 == handle; });
    uids = brovasim::hearing(r.freed, name);
  }
  brovasim::notify(&Registry::freed, uids, name.c_str(), handle);
}

const char* HAL_GetSimDeviceName(HAL_SimDeviceHandle handle) {
  return HALSIM_GetSimDeviceName(handle);
}

HAL_SimValueHandle HAL_CreateSimValue(HAL_SimDeviceHandle device, const char* name,
                                      int32_t direction, const struct HAL_Value* initialValue) {
  if (name == nullptr || initialValue == nullptr) return 0;
  Registry& r = registry();
  HAL_SimValueHandle handle = 0;
  std::vector<int32_t> uids;
  {
    std::lock_guard lock(r.mutex);
    brovasim::Device* owner = r.device(device);
    if (owner == nullptr || owner->numbers.contains(name) ||
        owner->values.size() >= static_cast<size_t>(brovasim::kLastValue)) {
      return 0;
    }
    owner->values.push_back({name, direction, *initialValue});
    const auto number = static_cast<int32_t>(owner->values.size());
    owner->numbers.emplace(name, number);
    handle = (device << 16) | number;
    uids = brovasim::hearing(r.valueCreated, device);
  }
  const std::string copy = name;
  const HAL_Value value = *initialValue;
  brovasim::notify(&Registry::valueCreated, uids, copy.c_str(), handle, direction, &value);
  return handle;
}

void HAL_GetSimValue(HAL_SimValueHandle handle, struct HAL_Value* value) {
  if (value == nullptr) return;
  Registry& r = registry();
  std::lock_guard lock(r.mutex);
  if (const brovasim::Value* found = r.value(handle)) {
    *value = found->value;
  } else {
    value->data.v_long = 0;
    value->type = HAL_UNASSIGNED;
  }
}

void HAL_SetSimValue(HAL_SimValueHandle handle, const struct HAL_Value* value) {
  if (value == nullptr) return;
  const HAL_Value set = *value;
  brovasim::changeValue(handle, [&](HAL_Value& held) {
    held = set;
    return true;
  });
}

void HAL_ResetSimValue(HAL_SimValueHandle handle) {
  brovasim::changeValue(handle, [](HAL_Value& held) {
    switch (held.type) {
      case HAL_INT: held.data.v_int = 0; return true;
      case HAL_LONG: held.data.v_long = 0; return true;
      case HAL_DOUBLE: held.data.v_double = 0; return true;
      default: return false;
    }
  });
}

int32_t HALSIM_RegisterSimDeviceCreatedCallback(const char* prefix, void* param,
                                                HALSIM_SimDeviceCallback callback,
                                                HAL_Bool initialNotify) {
  if (callback == nullptr) return -1;
  Registry& r = registry();
  int32_t uid = 0;
  std::vector<std::pair<std::string, HAL_SimDeviceHandle>> existing;
  {
    std::lock_guard lock(r.mutex);
    uid = r.nextUid();
    r.created[uid] = {brovasim::orEmpty(prefix), callback, param};
    if (initialNotify) {
      for (const auto& [handle, device] : r.devices) {
        if (brovasim::startsWith(device.name, r.created[uid].prefix)) {
          existing.emplace_back(device.name, handle);
        }
      }
    }
  }
  for (const auto& [name, handle] : existing) callback(name.c_str(), param, handle);
  return uid;
}

void HALSIM_CancelSimDeviceCreatedCallback(int32_t uid) {
  Registry& r = registry();
  std::lock_guard lock(r.mutex);
  r.created.erase(uid);
}

// As in WPILib's simulation, there is nothing to tell at once: initialNotify is ignored.
int32_t HALSIM_RegisterSimDeviceFreedCallback(const char* prefix, void* param,
                                              HALSIM_SimDeviceCallback callback,
                                              HAL_Bool initialNotify) {
  (void)initialNotify;
  if (callback == nullptr) return -1;
  Registry& r = registry();
  std::lock_guard lock(r.mutex);
  const int32_t uid = r.nextUid();
  r.freed[uid] = {brovasim::orEmpty(prefix), callback, param};
  return uid;
}

void HALSIM_CancelSimDeviceFreedCallback(int32_t uid) {
  Registry& r = registry();
  std::lock_guard lock(r.mutex);
  r.freed.erase(uid);
}

HAL_SimDeviceHandle HALSIM_GetSimDeviceHandle(const char* name) {
  if (name == nullptr) return 0;
  Registry& r = registry();
  std::lock_guard lock(r.mutex);
  const auto it = r.named.find(name);
  return it == r.named.end() ? 0 : it->second;
}

// Valid until the device is freed.
const char* HALSIM_GetSimDeviceName(HAL_SimDeviceHandle handle) {
  Registry& r = registry();
  std::lock_guard lock(r.mutex);
  const brovasim::Device* device = r.device(handle);
  return device == nullptr ? nullptr : device->name.c_str();
}

HAL_SimDeviceHandle HALSIM_GetSimValueDeviceHandle(HAL_SimValueHandle handle) {
  Registry& r = registry();
  std::lock_guard lock(r.mutex);
  return r.value(handle) == nullptr ? 0 : handle >> 16;
}

void HALSIM_EnumerateSimDevices(const char* prefix, void* param,
                                HALSIM_SimDeviceCallback callback) {
  if (callback == nullptr) return;
  const std::string start = brovasim::orEmpty(prefix);
  std::vector<std::pair<std::string, HAL_SimDeviceHandle>> found;
  {
    Registry& r = registry();
    std::lock_guard lock(r.mutex);
    for (const auto& [handle, device] : r.devices) {
      if (brovasim::startsWith(device.name, start)) found.emplace_back(device.name, handle);
    }
  }
  for (const auto& [name, handle] : found) callback(name.c_str(), param, handle);
}

int32_t HALSIM_RegisterSimValueCreatedCallback(HAL_SimDeviceHandle device, void* param,
                                               HALSIM_SimValueCallback callback,
                                               HAL_Bool initialNotify) {
  if (callback == nullptr) return -1;
  Registry& r = registry();
  int32_t uid = 0;
  std::vector<brovasim::ValueSeen> existing;
  {
    std::lock_guard lock(r.mutex);
    const brovasim::Device* owner = r.device(device);
    if (owner == nullptr) return -1;
    uid = r.nextUid();
    r.valueCreated[uid] = {device, callback, param};
    if (initialNotify) existing = brovasim::valuesOf(device, *owner);
  }
  brovasim::notify(callback, param, existing);
  return uid;
}

void HALSIM_CancelSimValueCreatedCallback(int32_t uid) {
  Registry& r = registry();
  std::lock_guard lock(r.mutex);
  r.valueCreated.erase(uid);
}

int32_t HALSIM_RegisterSimValueChangedCallback(HAL_SimValueHandle handle, void* param,
                                               HALSIM_SimValueCallback callback,
                                               HAL_Bool initialNotify) {
  if (callback == nullptr) return -1;
  Registry& r = registry();
  int32_t uid = 0;
  std::vector<brovasim::ValueSeen> existing;
  {
    std::lock_guard lock(r.mutex);
    const brovasim::Value* value = r.value(handle);
    if (value == nullptr) return -1;
    uid = r.nextUid();
    r.valueChanged[uid] = {handle, callback, param};
    if (initialNotify) existing.push_back({value->name, handle, value->direction, value->value});
  }
  brovasim::notify(callback, param, existing);
  return uid;
}

void HALSIM_CancelSimValueChangedCallback(int32_t uid) {
  Registry& r = registry();
  std::lock_guard lock(r.mutex);
  r.valueChanged.erase(uid);
}

HAL_SimValueHandle HALSIM_GetSimValueHandle(HAL_SimDeviceHandle device, const char* name) {
  if (name == nullptr) return 0;
  Registry& r = registry();
  std::lock_guard lock(r.mutex);
  const brovasim::Device* owner = r.device(device);
  if (owner == nullptr) return 0;
  const auto it = owner->numbers.find(name);
  return it == owner->numbers.end() ? 0 : (device << 16) | it->second;
}

void HALSIM_EnumerateSimValues(HAL_SimDeviceHandle device, void* param,
                               HALSIM_SimValueCallback callback) {
  if (callback == nullptr) return;
  std::vector<brovasim::ValueSeen> found;
  {
    Registry& r = registry();
    std::lock_guard lock(r.mutex);
    const brovasim::Device* owner = r.device(device);
    if (owner == nullptr) return;
    found = brovasim::valuesOf(device, *owner);
  }
  brovasim::notify(callback, param, found);
}

// Forgets every device and every callback, calling none; handles go on from where they were.
void HALSIM_ResetSimDeviceData(void) {
  Registry& r = registry();
  std::lock_guard lock(r.mutex);
  r.devices.clear();
  r.named.clear();
  r.created.clear();
  r.freed.clear();
  r.valueCreated.clear();
  r.valueChanged.clear();
}

}  // extern "C"
