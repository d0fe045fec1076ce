// Which reply belongs to which request, for a device whose requests may be answered late.
//
// A reply names its quantity but not the channel or request it answers, so a reply that comes
// after its request gave up looks exactly like the answer to the next request on that
// identifier. An open object's device keeps this book: before a request goes out, whatever is
// kept on its reply's identifier is taken and dropped (it came before the request, so it is no
// answer to it); and after a request went unanswered, its identifier waits for the late reply
// for two more reply pauses before another request may use it. A late reply that comes in that
// time is taken and dropped; one later still can be taken for the next request (the limit,
// docs/receiving.md). The C entry points keep no book: their queries read once after the pause.
#pragma once

#include <array>
#include <chrono>
#include <cstdint>

#include "can/Link.h"

namespace brova::controller {

class ReplyBook {
 public:
  using Clock = std::chrono::steady_clock;

  // Before a request whose reply comes on `replyBase`: takes and drops what is kept there. False
  // while a late reply may still come there: a request sent now could be given it.
  bool clear(uint32_t replyBase, can::Address address, Clock::time_point now);

  // A request's reply on `replyBase` did not come within `replyPause`: it is awaited for two
  // more.
  void awaitLate(uint32_t replyBase, Clock::time_point now, Clock::duration replyPause);

  // What the device makes of its answers and silences (whether it is connected).
  virtual void heard() noexcept = 0;
  virtual void unheard() noexcept = 0;

 protected:
  ~ReplyBook() = default;

 private:
  struct Late {
    uint32_t replyBase = 0;
    Clock::time_point until{};
  };
  // Identifiers awaiting a late reply; a device has a dozen reply identifiers at most. Kept by
  // whoever holds the device's exchange lock.
  std::array<Late, 16> late_{};
};

}  // namespace brova::controller
