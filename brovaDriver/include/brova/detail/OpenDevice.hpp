// Which analog board is open, so that a second one is refused instead of silently
// re-addressing every read of the first.
#ifndef BROVADRIVER_BROVA_DETAIL_OPENDEVICE_HPP
#define BROVADRIVER_BROVA_DETAIL_OPENDEVICE_HPP

#include <mutex>
#include <stdexcept>
#include <string>

namespace brova::detail {

class OpenDevice {
 public:
  // `what` names the device with its number, as in "BrovaQuad on device ".
  explicit OpenDevice(const char* what) : what_(what) {}

  void claim(int device) {
    std::lock_guard lock(mutex_);
    if (open_ != 0) {
      throw std::logic_error(what_ + std::to_string(open_) + " is already open; close it first");
    }
    open_ = device;
  }
  void release() {
    std::lock_guard lock(mutex_);
    open_ = 0;
  }

 private:
  std::string what_;
  std::mutex mutex_;
  int open_ = 0;
};

inline OpenDevice& openBoard() {
  static OpenDevice device("Ferux board on I2C port ");
  return device;
}

}  // namespace brova::detail

#endif  // BROVADRIVER_BROVA_DETAIL_OPENDEVICE_HPP
