#include "controller/Exchange.h"

#include <chrono>

#include "common/Console.h"
#include "common/Pause.h"

namespace brova::controller {
namespace {

void report(const MissingReplyLine& line) {
  if (line.silent) return;
  const std::string_view text = line.text.empty() ? console::messageFor(line.code) : line.text;
  if (line.channelLabel.empty()) {
    console::report(text);
  } else {
    console::reportWith(text, line.channelLabel, line.channel);
  }
}

}  // namespace

Exchange::Exchange(const Model& model, uint32_t requestBase, const can::Payload& request,
                   std::initializer_list<uint32_t> replyBases)
    : lock_(model.state.exchangeLock),
      book_(model.state.replies),
      replyPause_(model.replyPauseSpan()),
      address_(model.address()) {
  if (book_ != nullptr) {
    const auto now = ReplyBook::Clock::now();
    bool clear = true;
    for (const uint32_t base : replyBases) clear = book_->clear(base, address_, now) && clear;
    if (!clear) return;
  }
  can::sendFrame(requestBase, request, address_);
  sent_ = true;
  pause(model.replyPause);
}

Exchange::~Exchange() {
  if (book_ == nullptr) return;
  if (heard_) {
    book_->heard();
  } else if (unheard_) {
    book_->unheard();
  }
}

can::Payload Exchange::receive(uint32_t replyBase, const MissingReplyLine& missing) {
  const std::optional<can::Payload> reply = tryReceive(replyBase);
  if (!reply) report(missing);
  return reply.value_or(can::Payload{});
}

std::optional<can::Payload> Exchange::tryReceive(uint32_t replyBase) {
  if (!sent_) return std::nullopt;
  can::Payload reply{};
  if (can::receiveFrame(replyBase, reply, address_)) {
    heard_ = true;
    return reply;
  }
  unheard_ = true;
  if (book_ != nullptr) {
    book_->awaitLate(replyBase, ReplyBook::Clock::now(), replyPause_);
  }
  return std::nullopt;
}

can::Payload query(const Model& model, uint32_t requestBase, const can::Payload& request,
                   uint32_t replyBase, const MissingReplyLine& missing) {
  Exchange exchange(model, requestBase, request, {replyBase});
  return exchange.receive(replyBase, missing);
}

MissingReplyLine channelLine(const Model& model, int32_t code, std::string_view label,
                             uint8_t channel) {
  if (!model.missingLinesNameChannel) return {.code = code};
  return {.code = code, .channelLabel = label, .channel = channel};
}

}  // namespace brova::controller
