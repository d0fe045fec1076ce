#include "controller/Simulated.h"

#include <map>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

namespace brova::controller::simulated {
namespace {

using simulation::Direction;
using simulation::SimulatedValue;
using simulation::ValueType;

std::vector<SimulatedValue> valuesOf(int channels) {
  std::vector<SimulatedValue> values;
  for (int c = 0; c < channels; ++c) {
    // Built up in place: GCC 12 at -O3 warns (falsely) about a literal + std::string here.
    const auto named = [c](const char* quantity) {
      std::string name(quantity);
      name += ' ';
      name += std::to_string(c);
      return name;
    };
    values.push_back({named("output"), ValueType::Double, Direction::Output});
    values.push_back({named("current"), ValueType::Double, Direction::Input});
    values.push_back({named("rpm"), ValueType::Double, Direction::Input});
    values.push_back({named("encoder"), ValueType::Int, Direction::Input});
    values.push_back({named("load"), ValueType::Double, Direction::Input});
  }
  values.push_back({"temperature", ValueType::Double, Direction::Input});
  values.push_back({"enabled", ValueType::Boolean, Direction::Output});
  return values;
}

std::mutex handlesLock;
std::map<int32_t, simulation::SimulatedDevice>& byHandle() {
  static auto* devices = new std::map<int32_t, simulation::SimulatedDevice>;  // never destroyed
  return *devices;
}

}  // namespace

simulation::SimulatedDevice open(const Model& model, can::Address address) {
  return simulation::SimulatedDevice(
      simulation::deviceName(model.name, address.device, address.bus), valuesOf(model.channels));
}

void openForHandle(int32_t handle, const Model& model, int device) noexcept {
  try {
    simulation::SimulatedDevice made = open(model, {.bus = 0, .device = device});
    std::lock_guard lock(handlesLock);
    byHandle()[handle] = std::move(made);
  } catch (...) {
    // Without memory the device is only not simulated.
  }
}

void closeForHandle(int32_t handle) noexcept {
  simulation::SimulatedDevice freed;
  try {
    std::lock_guard lock(handlesLock);
    auto it = byHandle().find(handle);
    if (it == byHandle().end()) return;
    freed = std::move(it->second);
    byHandle().erase(it);
  } catch (...) {
    // Only a broken mutex throws.
  }
}

}  // namespace brova::controller::simulated
