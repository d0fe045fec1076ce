#include "common/Simulation.h"

#include <dlfcn.h>

#include <mutex>
#include <utility>

#include "common/Console.h"

#if BROVA_HAL >= 2027
#include "wpi/hal/HAL.h"
#include "wpi/hal/SimDevice.h"
#include "wpi/hal/Value.h"
#else
#include "hal/HALBase.h"
#include "hal/SimDevice.h"
#include "hal/Value.h"
#endif

namespace brova::simulation {
namespace {

#if BROVA_HAL >= 2027
constexpr HAL_RuntimeType kSimulationRuntime = HAL_RUNTIME_SIMULATION;
constexpr int32_t kInput = HAL_SIM_VALUE_INPUT;
constexpr int32_t kOutput = HAL_SIM_VALUE_OUTPUT;
#else
constexpr HAL_RuntimeType kSimulationRuntime = HAL_Runtime_Simulation;
constexpr int32_t kInput = HAL_SimValueInput;
constexpr int32_t kOutput = HAL_SimValueOutput;
#endif

HAL_Value make(ValueType type, double value) {
  HAL_Value v{};
  switch (type) {
    case ValueType::Double:
      v.type = HAL_DOUBLE;
      v.data.v_double = value;
      break;
    case ValueType::Int:
      v.type = HAL_INT;
      v.data.v_int = static_cast<int32_t>(value);
      break;
    case ValueType::Boolean:
      v.type = HAL_BOOLEAN;
      v.data.v_boolean = value != 0.0;
      break;
  }
  return v;
}

double read(const HAL_Value& v) {
  switch (v.type) {
    case HAL_DOUBLE: return v.data.v_double;
    case HAL_INT: return v.data.v_int;
    case HAL_LONG: return static_cast<double>(v.data.v_long);
    case HAL_BOOLEAN: return v.data.v_boolean ? 1.0 : 0.0;
    default: return 0.0;
  }
}

// The folder and file name of the library that holds `symbol`; empty when unknown.
std::string fileOf(const void* symbol) {
  Dl_info info{};
  if (dladdr(symbol, &info) == 0 || info.dli_fname == nullptr) return {};
  return info.dli_fname;
}

// WPILib's simulation HAL has simulation callbacks on its CAN calls; the project's own simulated
// platform, which answers through its own device models, has not.
bool halHasCanCallbacks() {
  const std::string hal = fileOf(reinterpret_cast<const void*>(&HAL_GetRuntimeType));
  if (hal.empty()) return false;
  void* library = dlopen(hal.c_str(), RTLD_LAZY | RTLD_NOLOAD);
  if (library == nullptr) return false;
  const bool found = dlsym(library, "HALSIM_RegisterCanSendMessageCallback") != nullptr;
  dlclose(library);
  return found;
}

void anchor() {}

// libBrovaDriverSim.so beside this library (libBrovaDriverd.so: libBrovaDriverSimd.so), else by
// name on the library path.
void* openModels() {
  std::string self = fileOf(reinterpret_cast<const void*>(&anchor));
  const auto slash = self.rfind('/');
  std::string folder = slash == std::string::npos ? "" : self.substr(0, slash + 1);
  std::string file = slash == std::string::npos ? self : self.substr(slash + 1);
  const auto stem = file.find("BrovaDriver");
  std::string models = "libBrovaDriverSim.so";
  if (stem != std::string::npos) {
    models = file;
    models.insert(stem + std::string_view("BrovaDriver").size(), "Sim");
  }
  if (!folder.empty()) {
    if (void* beside = dlopen((folder + models).c_str(), RTLD_NOW | RTLD_LOCAL)) return beside;
  }
  return dlopen(models.c_str(), RTLD_NOW | RTLD_LOCAL);
}

bool loadModels() {
  static bool loaded = false;
  static std::once_flag once;
  std::call_once(once, [] {
    if (!onWpilibSimulation()) return;
    void* models = openModels();
    using Attach = int (*)();
    auto attach = models == nullptr
                      ? nullptr
                      : reinterpret_cast<Attach>(dlsym(models, "BrovaDriverSim_attach"));
    if (attach == nullptr || attach() != 0) {
      const char* why = dlerror();
      console::report(std::string("libBrovaDriverSim.so could not be loaded") +
                      (why != nullptr ? std::string(" (") + why + ")" : std::string()) +
                      ": in WPILib's simulation no Brova device answers");
      return;
    }
    loaded = true;
  });
  return loaded;
}

}  // namespace

bool onWpilibSimulation() noexcept {
  try {
    static const bool simulation =
        HAL_GetRuntimeType() == kSimulationRuntime && halHasCanCallbacks();
    return simulation;
  } catch (...) {
    return false;
  }
}

std::string deviceName(std::string_view model, int number, int bus) {
  std::string name(model);
  name.append(1, '[').append(std::to_string(number));
  if (bus != 0) name.append(1, ',').append(std::to_string(bus));
  return name + ']';
}

SimulatedDevice::SimulatedDevice(const std::string& name,
                                 std::span<const SimulatedValue> values) noexcept {
  try {
    loadModels();
    device_ = HAL_CreateSimDevice(name.c_str());
    if (device_ == 0) return;
    for (const SimulatedValue& value : values) {
      const HAL_Value initial = make(value.type, 0.0);
      values_.push_back(HAL_CreateSimValue(device_, value.name.c_str(),
                                           value.direction == Direction::Input ? kInput : kOutput,
                                           &initial));
      types_.push_back(value.type);
    }
  } catch (...) {
    free();
  }
}

SimulatedDevice::~SimulatedDevice() { free(); }

SimulatedDevice::SimulatedDevice(SimulatedDevice&& other) noexcept
    : device_(std::exchange(other.device_, 0)),
      values_(std::move(other.values_)),
      types_(std::move(other.types_)) {}

SimulatedDevice& SimulatedDevice::operator=(SimulatedDevice&& other) noexcept {
  if (this != &other) {
    free();
    device_ = std::exchange(other.device_, 0);
    values_ = std::move(other.values_);
    types_ = std::move(other.types_);
  }
  return *this;
}

void SimulatedDevice::free() noexcept {
  if (device_ == 0) return;
  try {
    HAL_FreeSimDevice(device_);
  } catch (...) {
    // A platform that throws has freed it as far as it could.
  }
  device_ = 0;
  values_.clear();
  types_.clear();
}

double SimulatedDevice::get(std::size_t index) const noexcept {
  if (device_ == 0 || index >= values_.size()) return 0.0;
  try {
    HAL_Value value{};
    HAL_GetSimValue(values_[index], &value);
    return read(value);
  } catch (...) {
    return 0.0;
  }
}

void SimulatedDevice::set(std::size_t index, double value) const noexcept {
  if (device_ == 0 || index >= values_.size()) return;
  try {
    const HAL_Value v = make(types_[index], value);
    HAL_SetSimValue(values_[index], &v);
  } catch (...) {
    // Nothing more to do: the value stays as it was.
  }
}

}  // namespace brova::simulation
