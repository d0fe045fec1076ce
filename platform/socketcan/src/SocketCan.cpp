// The control API over the process's platform.
#include "brovasocketcan/SocketCan.h"

#include "Platform.h"

namespace brovasocketcan {

void setInterface(const std::string& name) { Platform::instance().setInterface(name); }

std::string interfaceName() { return Platform::instance().interfaceName(); }

bool open() { return Platform::instance().link() != nullptr; }

void close() { Platform::instance().close(); }

void attachSocket(int socket) { Platform::instance().attachSocket(socket); }

void enableFor(std::chrono::milliseconds duration) {
  Platform::instance().enableSwitch().enableFor(duration);
}

void disable() { Platform::instance().enableSwitch().disable(); }

bool enabled() { return Platform::instance().enableSwitch().enabledAt(); }

}  // namespace brovasocketcan
