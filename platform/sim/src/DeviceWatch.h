// Watches for the simulated device of one name (the library makes one for each controller and
// board it opens): hands over its handle when it is made, or at once if it exists, and says when
// it is freed. For the simulated controllers and boards, which bind their models to it.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace brovasim {

class DeviceWatch {
 public:
  // `created` and `freed` are called in the thread that makes or frees the device; either may
  // still be called, by a callback under way, after the watch is destroyed.
  DeviceWatch(const std::string& name, std::function<void(int32_t device)> created,
              std::function<void()> freed);
  ~DeviceWatch();
  DeviceWatch(const DeviceWatch&) = delete;
  DeviceWatch& operator=(const DeviceWatch&) = delete;

 private:
  uintptr_t id_;
  int32_t createdCallback_ = 0;
  int32_t freedCallback_ = 0;
};

}  // namespace brovasim
