// The link to a named CAN interface, opened again when it is lost: an adapter unplugged and
// plugged back, an interface deleted and created again (with a new index), or one that did not
// exist yet when the program started.
#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "CanLink.h"
#include "brovasocketcan/CanSocket.h"

namespace brovasocketcan {

class InterfaceLink {
 public:
  using Clock = std::chrono::steady_clock;
  using Opener = std::function<OpenedSocket()>;
  using Console = std::function<void(const std::string& line)>;

  // Opening is cheap (a socket and a bind), yet a program calling in a tight loop while the
  // interface is gone must not make a system call each time.
  static constexpr auto kRetryInterval = std::chrono::milliseconds(50);

  // `open` opens a socket on interface `name`, the interface of `bus`; `say` prints one console
  // line (without its newline). Nothing is opened before the first current().
  InterfaceLink(std::string name, int32_t bus, Opener open, Console say,
                Clock::duration retryInterval = kRetryInterval);

  // The open link. When there is none (never opened, or found lost now), opens the interface,
  // at most once per retry interval and never waiting: null while it cannot be opened. Says one
  // line when the interface cannot be opened or is lost, and one when it is open again.
  // Not thread-safe: the caller serialises calls.
  std::shared_ptr<CanLink> current(Clock::time_point now = Clock::now());

 private:
  const std::string name_;
  // How the console lines name the interface and the calls that fail: with the bus, but for 0.
  const std::string interface_;
  const std::string calls_;
  const bool busZero_;
  const Opener open_;
  const Console say_;
  const Clock::duration retryInterval_;
  std::shared_ptr<CanLink> link_;
  std::optional<Clock::time_point> lastTry_;
  bool failing_ = false;  // a line said that CAN calls fail, and none said they work again
};

}  // namespace brovasocketcan
