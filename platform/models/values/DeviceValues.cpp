#include "DeviceValues.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <mutex>

#if BROVA_HAL >= 2027
#include "wpi/hal/SimDevice.h"
#include "wpi/hal/Value.h"
#include "wpi/hal/simulation/SimDeviceData.h"
#else
#include "hal/SimDevice.h"
#include "hal/Value.h"
#include "hal/simulation/SimDeviceData.h"
#endif

namespace brovamodels {
namespace {

enum Quantity : std::size_t { kOutput, kCurrent, kRpm, kEncoder, kLoad, kPerChannel };
constexpr int kBoardInputs = 4;

std::vector<std::string> namesOf(DeviceName::Kind kind, int channels) {
  std::vector<std::string> names;
  if (kind == DeviceName::Kind::Board) {
    for (int i = 0; i < kBoardInputs; ++i)
      names.push_back(std::string("voltage ").append(std::to_string(i)));
    return names;
  }
  for (int c = 0; c < channels; ++c) {
    for (const char* quantity : {"output ", "current ", "rpm ", "encoder ", "load "}) {
      names.push_back(std::string(quantity).append(std::to_string(c)));
    }
  }
  names.push_back("temperature");
  names.push_back("enabled");
  return names;
}

// The bindings by number: a callback finds its binding here, under the lock, which the
// binding's destructor takes too, so no callback runs on a binding destroyed.
std::mutex registryLock;
std::map<uintptr_t, DeviceValues*>& registry() {
  static auto* bindings = new std::map<uintptr_t, DeviceValues*>;  // never destroyed
  return *bindings;
}
uintptr_t nextId = 1;

// Set while a binding writes its own values: their callbacks are not someone else's.
thread_local bool showing = false;

// `value` as a 32-bit count, saturated where the type ends.
int32_t countOf(double value) {
  return static_cast<int32_t>(std::fmax(-2147483648.0, std::fmin(value, 2147483647.0)));
}

HAL_Value valueOf(const HAL_Value& like, double value) {
  HAL_Value v{};
  v.type = like.type;
  switch (like.type) {
    case HAL_BOOLEAN: v.data.v_boolean = value != 0.0; break;
    case HAL_INT: v.data.v_int = countOf(value); break;
    case HAL_LONG: v.data.v_long = static_cast<int64_t>(value); break;
    default:
      v.type = HAL_DOUBLE;
      v.data.v_double = value;
      break;
  }
  return v;
}

double numberOf(const HAL_Value& v) {
  switch (v.type) {
    case HAL_BOOLEAN: return v.data.v_boolean ? 1.0 : 0.0;
    case HAL_INT: return v.data.v_int;
    case HAL_LONG: return static_cast<double>(v.data.v_long);
    case HAL_DOUBLE: return v.data.v_double;
    default: return 0.0;
  }
}

}  // namespace

std::string nameOf(const DeviceName& name) {
  const char* model = name.kind == DeviceName::Kind::Quad    ? "BrovaQuad"
                      : name.kind == DeviceName::Kind::Small ? "BrovaSmall"
                                                             : "Ferux";
  std::string text = std::string(model).append(1, '[').append(std::to_string(name.number));
  if (name.bus != 0) text.append(1, ',').append(std::to_string(name.bus));
  return text + ']';
}

std::optional<DeviceName> parseName(std::string_view name) {
  for (const DeviceName::Kind kind :
       {DeviceName::Kind::Quad, DeviceName::Kind::Small, DeviceName::Kind::Board}) {
    const std::string model = nameOf({kind, 0, 0});
    const std::string_view prefix(model.data(), model.size() - 2);  // "BrovaQuad["
    if (name.size() <= prefix.size() + 1 || name.substr(0, prefix.size()) != prefix ||
        name.back() != ']') {
      continue;
    }
    DeviceName parsed{kind};
    int* field = &parsed.number;
    bool digits = false;
    for (char c : name.substr(prefix.size(), name.size() - prefix.size() - 1)) {
      if (c >= '0' && c <= '9' && *field < 1000) {
        *field = *field * 10 + (c - '0');
        digits = true;
      } else if (c == ',' && field == &parsed.number && digits) {
        field = &parsed.bus;
        digits = false;
      } else {
        return std::nullopt;
      }
    }
    if (!digits) return std::nullopt;
    return parsed;
  }
  return std::nullopt;
}

DeviceValues::DeviceValues(int32_t device, DeviceName::Kind kind, int channels, OnSet onSet)
    : device_(device), channels_(channels), onSet_(std::move(onSet)) {
  {
    std::lock_guard lock(registryLock);
    id_ = nextId++;
    registry()[id_] = this;
  }
  for (const std::string& name : namesOf(kind, channels)) {
    const int32_t value = HALSIM_GetSimValueHandle(device, name.c_str());
    values_.push_back(value);
    if (value != 0) {
      callbacks_.push_back(HALSIM_RegisterSimValueChangedCallback(
          value, reinterpret_cast<void*>(id_), &DeviceValues::changed, false));
    }
  }
}

DeviceValues::~DeviceValues() {
  for (const int32_t uid : callbacks_) HALSIM_CancelSimValueChangedCallback(uid);
  std::lock_guard lock(registryLock);
  registry().erase(id_);
}

void DeviceValues::changed(const char*, void* param, int32_t handle, int32_t,
                           const HAL_Value* value) {
  if (showing || value == nullptr) return;
  OnSet onSet;
  std::size_t index = 0;
  {
    std::lock_guard lock(registryLock);
    const auto it = registry().find(reinterpret_cast<uintptr_t>(param));
    if (it == registry().end()) return;
    const std::vector<int32_t>& values = it->second->values_;
    index =
        static_cast<std::size_t>(std::find(values.begin(), values.end(), handle) - values.begin());
    if (index == values.size()) return;
    onSet = it->second->onSet_;
  }
  // Called without the lock: it may take its model's, under which bindings are made.
  if (onSet) onSet(index, numberOf(*value));
}

void DeviceValues::set(std::size_t index, double value) {
  if (index >= values_.size() || values_[index] == 0) return;
  HAL_Value current{};
  HAL_GetSimValue(values_[index], &current);
  const HAL_Value next = valueOf(current, value);
  if (next.type == current.type && numberOf(next) == numberOf(current)) return;
  showing = true;
  HAL_SetSimValue(values_[index], &next);
  showing = false;
}

double DeviceValues::get(std::size_t index) const {
  if (index >= values_.size() || values_[index] == 0) return 0.0;
  HAL_Value v{};
  HAL_GetSimValue(values_[index], &v);
  return numberOf(v);
}

void DeviceValues::show(Controller& model, Clock::time_point now) {
  for (int c = 0; c < channels_; ++c) {
    const Controller::Channel state = model.channel(c, now);
    const std::size_t at = static_cast<std::size_t>(c) * kPerChannel;
    set(at + kOutput, state.appliedDuty);
    set(at + kCurrent, state.currentAmperes);
    set(at + kRpm, state.rpm);
    set(at + kEncoder, state.encoderCount);
    set(at + kLoad, state.load);
  }
  const std::size_t after = static_cast<std::size_t>(channels_) * kPerChannel;
  set(after, model.temperature(now));
  set(after + 1, model.enabled(now) ? 1.0 : 0.0);
}

void DeviceValues::apply(Controller& model, std::size_t index, double value,
                         Clock::time_point now) {
  if (!std::isfinite(value)) return;
  const auto channels = static_cast<std::size_t>(model.channels());
  if (index == channels * kPerChannel) {
    model.holdTemperature(value, now);
    return;
  }
  if (index >= channels * kPerChannel) return;
  const int channel = static_cast<int>(index / kPerChannel);
  switch (index % kPerChannel) {
    case kCurrent: model.holdCurrent(channel, value, now); break;
    case kRpm: model.holdRpm(channel, value, now); break;
    case kEncoder: model.setEncoderCount(channel, countOf(value), now); break;
    case kLoad: model.setLoad(channel, value, now); break;
    default: break;  // the output is the program's
  }
}

void DeviceValues::show(const Board& board, Clock::time_point now) {
  for (int i = 0; i < kBoardInputs; ++i) set(static_cast<std::size_t>(i), board.input(i, now));
}

}  // namespace brovamodels
