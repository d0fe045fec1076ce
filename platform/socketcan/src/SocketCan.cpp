// The control API over the process's platform.
#include "brovasocketcan/SocketCan.h"

#include "Platform.h"

namespace brovasocketcan {

void setInterface(const std::string& name) { setInterface(0, name); }

void setInterface(int32_t bus, const std::string& name) {
  Platform::instance().setInterface(bus, name);
}

std::string interfaceName() { return interfaceName(0); }

std::string interfaceName(int32_t bus) { return Platform::instance().interfaceName(bus); }

bool open() { return open(0); }

bool open(int32_t bus) { return Platform::instance().link(bus).link != nullptr; }

void close() { close(0); }

void close(int32_t bus) { Platform::instance().close(bus); }

void attachSocket(int socket) { attachSocket(0, socket); }

void attachSocket(int32_t bus, int socket) { Platform::instance().attachSocket(bus, socket); }

void enableFor(std::chrono::milliseconds duration) {
  Platform::instance().enableSwitch().enableFor(duration);
}

void disable() { Platform::instance().enableSwitch().disable(); }

bool enabled() { return Platform::instance().enableSwitch().enabledAt(); }

}  // namespace brovasocketcan
