#include "controller/Claims.h"

#include <map>
#include <mutex>
#include <stdexcept>
#include <utility>

namespace brova::controller::claims {
namespace {

struct Holder {
  std::string object;  // the open object's name; empty for none
  int creates = 0;     // the C entry points' creates not yet destroyed
};

// Never destroyed: keep-alive threads may still release while the process exits.
struct Registry {
  std::mutex mutex;
  std::map<std::pair<int32_t, int32_t>, Holder> holders;
};

Registry& registry() {
  static Registry* const instance = new Registry;
  return *instance;
}

std::pair<int32_t, int32_t> key(can::Address address) { return {address.bus, address.device}; }

// Forgets a device that nothing holds any more.
void forgetIfFree(Registry& r, std::map<std::pair<int32_t, int32_t>, Holder>::iterator at) {
  if (at->second.object.empty() && at->second.creates == 0) r.holders.erase(at);
}

}  // namespace

void takeForObject(can::Address address, const std::string& name) {
  Registry& r = registry();
  std::lock_guard lock(r.mutex);
  Holder& holder = r.holders[key(address)];
  if (!holder.object.empty()) {
    throw std::logic_error(holder.object + " is already open; close it first");
  }
  if (holder.creates > 0) {
    throw std::logic_error(name + " is driven through the C entry points; destroy it there first");
  }
  holder.object = name;
}

void releaseObject(can::Address address) noexcept {
  Registry& r = registry();
  std::lock_guard lock(r.mutex);
  const auto at = r.holders.find(key(address));
  if (at == r.holders.end()) return;
  at->second.object.clear();
  forgetIfFree(r, at);
}

std::optional<std::string> takeForEntryPoint(int32_t device) {
  Registry& r = registry();
  std::lock_guard lock(r.mutex);
  Holder& holder = r.holders[key({.bus = 0, .device = device})];
  if (!holder.object.empty()) return holder.object;
  ++holder.creates;
  return std::nullopt;
}

void releaseForEntryPoint(int32_t device) noexcept {
  Registry& r = registry();
  std::lock_guard lock(r.mutex);
  const auto at = r.holders.find(key({.bus = 0, .device = device}));
  if (at == r.holders.end() || at->second.creates == 0) return;
  --at->second.creates;
  forgetIfFree(r, at);
}

}  // namespace brova::controller::claims
