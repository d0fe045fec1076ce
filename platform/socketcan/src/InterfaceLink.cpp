#include "InterfaceLink.h"

#include <exception>
#include <string>
#include <utility>

#include "brovasocketcan/BusInterfaces.h"

namespace brovasocketcan {

namespace {

const std::string kPrefix = "BrovaSocketCan: ";

}  // namespace

InterfaceLink::InterfaceLink(std::string name, int32_t bus, Opener open, Console say,
                             Clock::duration retryInterval)
    : name_(std::move(name)),
      interface_("CAN interface " + name_ +
                 (bus == 0 ? std::string() : " of bus " + std::to_string(bus))),
      calls_(bus == 0 ? "CAN calls" : "CAN calls on bus " + std::to_string(bus)),
      busZero_(bus == 0),
      open_(std::move(open)),
      say_(std::move(say)),
      retryInterval_(retryInterval) {}

std::shared_ptr<CanLink> InterfaceLink::current(Clock::time_point now) {
  if (link_ && !link_->lost()) return link_;
  if (link_) {
    // The old link stops when its last user lets go of it.
    link_.reset();
    say_(kPrefix + "lost " + interface_ + "; " + calls_ + " fail until it is back");
    failing_ = true;
    // Try at once: the interface may be back already.
    lastTry_.reset();
  }
  if (lastTry_ && now - *lastTry_ < retryInterval_) return nullptr;
  lastTry_ = now;

  const OpenedSocket opened = open_();
  std::string error = opened.error;
  if (opened.fd >= 0) {
    try {
      link_ = std::make_shared<CanLink>(opened.fd);
    } catch (const std::exception& e) {
      error = e.what();
    }
  }
  if (link_) {
    if (failing_) say_(kPrefix + interface_ + " is open; " + calls_ + " work again");
    failing_ = false;
    return link_;
  }
  if (!failing_) {
    say_(kPrefix + "cannot open " + interface_ + " (" + error + "); " + calls_ +
         " fail until it can be opened (choose the interface with " +
         (busZero_ ? kInterfaceVariable : kInterfacesVariable) + ")");
    failing_ = true;
  }
  return nullptr;
}

}  // namespace brovasocketcan
