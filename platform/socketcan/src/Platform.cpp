#include "Platform.h"

#include <cstdio>
#include <cstdlib>
#include <exception>

#include "brovasocketcan/CanSocket.h"
#include "brovasocketcan/SocketCan.h"

namespace brovasocketcan {

namespace {

constexpr int32_t kFirstHandle = 0x0C0001;
constexpr const char* kCannotOpenLine =
    "BrovaSocketCan: cannot open CAN interface %s (%s); CAN calls fail until it can be opened "
    "(choose the interface with %s)\n";
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
  if (link_ || openFailed_) return link_;
  const std::string name = interfaceNameLocked();
  const OpenedSocket opened = openCanSocket(name);
  std::string error = opened.error;
  if (opened.fd >= 0) {
    try {
      link_ = std::make_shared<CanLink>(opened.fd);
      return link_;
    } catch (const std::exception& e) {
      error = e.what();
    }
  }
  openFailed_ = true;
  std::fprintf(stderr, kCannotOpenLine, name.c_str(), error.c_str(), kInterfaceVariable);
  return nullptr;
}

void Platform::replaceLinkLocked(std::shared_ptr<CanLink> link) {
  // The old link's destructor joins its reader, which never takes this lock.
  link_ = std::move(link);
  openFailed_ = false;
}

void Platform::setInterface(const std::string& name) {
  std::lock_guard lock(mutex_);
  chosenInterface_ = name;
  replaceLinkLocked(nullptr);
}

void Platform::close() {
  std::lock_guard lock(mutex_);
  replaceLinkLocked(nullptr);
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
    std::fprintf(stderr, kCannotOpenLine, "(attached socket)", e.what(), kInterfaceVariable);
  }
  std::lock_guard lock(mutex_);
  replaceLinkLocked(std::move(link));
  openFailed_ = link_ == nullptr;
}

void Platform::noteNoI2C() {
  std::call_once(i2cNoted_, [] { std::fputs(kNoI2CLine, stderr); });
}

}  // namespace brovasocketcan
