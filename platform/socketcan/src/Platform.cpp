#include "Platform.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <exception>
#include <stdexcept>

#include "brovasocketcan/BusInterfaces.h"
#include "brovasocketcan/CanSocket.h"
#include "brovasocketcan/SocketCan.h"

namespace brovasocketcan {

namespace {

constexpr int32_t kFirstHandle = 0x0C0001;
constexpr const char* kPrefix = "BrovaSocketCan: ";
constexpr const char* kCannotAttachLine =
    "BrovaSocketCan: cannot use the attached socket (%s); CAN calls fail\n";
constexpr const char* kBadEnableLine =
    "BrovaSocketCan: %s=%s is not a number of seconds (0.001 to 86400); the robot stays "
    "disabled\n";
constexpr const char* kNoI2CLine =
    "BrovaSocketCan: this platform has no I2C bus; I2C transfers fail\n";

void checkBus(int32_t bus) {
  if (bus < 0) throw std::out_of_range("CAN bus numbers start at 0, not " + std::to_string(bus));
}

void say(const std::string& line) { std::fprintf(stderr, "%s\n", line.c_str()); }

}  // namespace

Platform& Platform::instance() {
  static Platform* const platform = new Platform;
  return *platform;
}

Platform::Platform() : nextHandle_(kFirstHandle) {
  const BusInterfaces interfaces = busInterfacesFromEnvironment();
  if (!interfaces.disagreement.empty()) say(kPrefix + interfaces.disagreement);
  for (size_t bus = 0; bus < interfaces.names.size(); ++bus) {
    if (!interfaces.names[bus].empty()) {
      buses_[static_cast<int32_t>(bus)].interface = interfaces.names[bus];
    }
  }

  const char* seconds = std::getenv(kEnableVariable);
  if (seconds == nullptr || *seconds == '\0') return;
  if (const auto duration = parseEnableSeconds(seconds)) {
    enable_.enableFor(*duration);
  } else {
    std::fprintf(stderr, kBadEnableLine, kEnableVariable, seconds);
  }
}

Platform::Bus& Platform::busLocked(int32_t bus) {
  checkBus(bus);
  return buses_[bus];
}

Platform::BusLink Platform::link(int32_t bus) {
  std::lock_guard lock(mutex_);
  const auto found = buses_.find(bus);
  if (found == buses_.end()) return {};
  Bus& b = found->second;
  if (b.attached) return {.named = true, .link = *b.attached};
  if (b.interface.empty()) return {};
  if (!b.link) {
    const std::string name = b.interface;
    b.link.emplace(
        name, bus, [name] { return openCanSocket(name); }, say);
  }
  return {.named = true, .link = b.link->current()};
}

void Platform::setInterface(int32_t bus, const std::string& name) {
  std::lock_guard lock(mutex_);
  Bus& b = busLocked(bus);
  b.drop();
  b.interface = name;
}

void Platform::close(int32_t bus) {
  std::lock_guard lock(mutex_);
  busLocked(bus).drop();
}

std::string Platform::interfaceName(int32_t bus) {
  checkBus(bus);
  std::lock_guard lock(mutex_);
  const auto found = buses_.find(bus);
  return found == buses_.end() ? std::string() : found->second.interface;
}

void Platform::attachSocket(int32_t bus, int fd) {
  if (bus < 0) {
    ::close(fd);  // the socket is the platform's from the call on, as when it is replaced
    checkBus(bus);
  }
  std::shared_ptr<CanLink> link;
  try {
    link = std::make_shared<CanLink>(fd);
  } catch (const std::exception& e) {
    std::fprintf(stderr, kCannotAttachLine, e.what());
  }
  std::lock_guard lock(mutex_);
  Bus& b = busLocked(bus);
  b.drop();
  b.attached = std::move(link);
}

void Platform::noteNoI2C() {
  std::call_once(i2cNoted_, [] { std::fputs(kNoI2CLine, stderr); });
}

}  // namespace brovasocketcan
