#include "controller/Replies.h"

#include <algorithm>

namespace brova::controller {

bool ReplyBook::clear(uint32_t replyBase, can::Address address, Clock::time_point now) {
  can::Payload dropped{};
  const bool taken = can::receiveFrame(replyBase, dropped, address);
  const auto it = std::find_if(late_.begin(), late_.end(),
                               [replyBase](const Late& l) { return l.replyBase == replyBase; });
  if (it == late_.end()) return true;
  // The late reply came (it was just taken), or it is too late to be told from an answer.
  if (taken || now >= it->until) {
    *it = Late{};
    return true;
  }
  return false;
}

namespace {
// How many reply pauses past its own a late reply is still told from the next request's answer.
constexpr int kLateWaitPauses = 2;
}  // namespace

void ReplyBook::awaitLate(uint32_t replyBase, Clock::time_point now, Clock::duration replyPause) {
  auto it = std::find_if(late_.begin(), late_.end(),
                         [replyBase](const Late& l) { return l.replyBase == replyBase; });
  if (it == late_.end()) {
    it = std::find_if(late_.begin(), late_.end(), [](const Late& l) { return l.replyBase == 0; });
  }
  if (it == late_.end()) return;  // more identifiers than a device has
  *it = Late{.replyBase = replyBase, .until = now + kLateWaitPauses * replyPause};
}

}  // namespace brova::controller
