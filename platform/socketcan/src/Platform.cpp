#include "Platform.h"

#include <cstdio>
#include <cstdlib>
#include <exception>

#include "brovasocketcan/CanSocket.h"
#include "brovasocketcan/SocketCan.h"

namespace brovasocketcan {

namespace {

constexpr int32_t kFirstHandle = 0x0C0001;
constexpr const char* kCannotAttachLine =
    "BrovaSocketCan: cannot use the attached socket (%s); CAN calls fail\n";
constexpr const char* kBadEnableLine =
    "BrovaSocketCan: %s=%s is not a number of seconds (0.001 to 86400); the robot stays "
    "disabled\n";
constexpr const char* kNoI2CLine =
    "BrovaSocketCan: this platform has no I2C bus; I2C transfers fail\n";

}  // namespace

Platform& Platform::instance() {
  static Platform* const platform = new Platform;
  return *platform;
}

Platform::Platform() : nextHandle_(kFirstHandle) {
  const char* seconds = std::getenv(kEnableVariable);
  if (seconds == nullptr || *seconds == '\0') return;
  if (const auto duration = parseEnableSeconds(seconds)) {
    enable_.enableFor(*duration);
  } else {
    std::fprintf(stderr, kBadEnableLine, kEnableVariable, seconds);
  }
}

std::string Platform::interfaceNameLocked() const {
  if (chosenInterface_) return *chosenInterface_;
  const char* name = std::getenv(kInterfaceVariable);
  return name != nullptr && *name != '\0' ? name : kDefaultInterface;
}

std::shared_ptr<CanLink> Platform::link() {
  std::lock_guard lock(mutex_);
  if (attached_) return *attached_;
  if (!interface_) {
    const std::string name = interfaceNameLocked();
    interface_.emplace(
        name, [name] { return openCanSocket(name); },
        [](const std::string& line) { std::fprintf(stderr, "%s\n", line.c_str()); });
  }
  return interface_->current();
}

void Platform::dropLinkLocked() {
  attached_.reset();
  interface_.reset();
}

void Platform::setInterface(const std::string& name) {
  std::lock_guard lock(mutex_);
  chosenInterface_ = name;
  dropLinkLocked();
}

void Platform::close() {
  std::lock_guard lock(mutex_);
  dropLinkLocked();
}

std::string Platform::interfaceName() {
  std::lock_guard lock(mutex_);
  return interfaceNameLocked();
}

void Platform::attachSocket(int fd) {
  std::shared_ptr<CanLink> link;
  try {
    link = std::make_shared<CanLink>(fd);
  } catch (const std::exception& e) {
    std::fprintf(stderr, kCannotAttachLine, e.what());
  }
  std::lock_guard lock(mutex_);
  dropLinkLocked();
  attached_ = std::move(link);
}

void Platform::noteNoI2C() {
  std::call_once(i2cNoted_, [] { std::fputs(kNoI2CLine, stderr); });
}

}  // namespace brovasocketcan
