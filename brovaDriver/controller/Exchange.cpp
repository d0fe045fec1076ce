#include "controller/Exchange.h"

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

Exchange::Exchange(const Model& model, uint32_t requestBase, const can::Payload& request)
    : lock_(model.state.exchangeLock), address_(model.address()) {
  can::sendFrame(requestBase, request, address_);
  pause(model.replyPause);
}

can::Payload Exchange::receive(uint32_t replyBase, const MissingReplyLine& missing) {
  const std::optional<can::Payload> reply = tryReceive(replyBase);
  if (!reply) report(missing);
  return reply.value_or(can::Payload{});
}

std::optional<can::Payload> Exchange::tryReceive(uint32_t replyBase) {
  can::Payload reply{};
  if (!can::receiveFrame(replyBase, reply, address_)) return std::nullopt;
  return reply;
}

can::Payload query(const Model& model, uint32_t requestBase, const can::Payload& request,
                   uint32_t replyBase, const MissingReplyLine& missing) {
  Exchange exchange(model, requestBase, request);
  return exchange.receive(replyBase, missing);
}

MissingReplyLine channelLine(const Model& model, int32_t code, std::string_view label,
                             uint8_t channel) {
  if (!model.missingLinesNameChannel) return {.code = code};
  return {.code = code, .channelLabel = label, .channel = channel};
}

}  // namespace brova::controller
