// The request/reply exchange every query uses: send the request, wait the model's pause, read
// the reply once. On a model that keeps a reply book (an open object's device), what is kept on
// the reply identifiers is dropped before the request goes out, and a request whose identifier
// still awaits a late reply does not go out at all: its replies read as missing at once.
#pragma once

#include <chrono>
#include <cstdint>
#include <initializer_list>
#include <mutex>
#include <optional>
#include <string_view>

#include "can/Link.h"
#include "controller/Description.h"

namespace brova::controller {

// The console line of a query whose reply did not come.
struct MissingReplyLine {
  int32_t code = 0;                 // the message of this status code...
  std::string_view text{};          // ...or this text, when not empty
  std::string_view channelLabel{};  // then, when not empty, this label and `channel`
  unsigned channel = 0;
  bool silent = false;  // no line at all
};

// One exchange in progress. Holds the model's exchange lock from the request to the last reply
// read, so overlapping queries of one model never take each other's replies.
class Exchange {
 public:
  // Sends `request` to `requestBase` of the model's device, whose replies come on `replyBases`,
  // and waits the model's pause.
  Exchange(const Model& model, uint32_t requestBase, const can::Payload& request,
           std::initializer_list<uint32_t> replyBases);
  // Tells the model's reply book whether the device answered.
  ~Exchange();
  Exchange(const Exchange&) = delete;
  Exchange& operator=(const Exchange&) = delete;

  // Reads the latest reply on `replyBase` once into a zero-filled buffer: a missing reply
  // reads as zeros. Reports `missing` when no frame was taken.
  can::Payload receive(uint32_t replyBase, const MissingReplyLine& missing);

  // Reads the latest reply on `replyBase` once, printing nothing: empty when no frame was
  // taken, so a caller can tell a device that did not answer from one that answered zeros.
  std::optional<can::Payload> tryReceive(uint32_t replyBase);

 private:
  std::lock_guard<std::mutex> lock_;
  ReplyBook* book_;
  std::chrono::steady_clock::duration replyPause_;
  can::Address address_;
  bool sent_ = false;
  bool heard_ = false;
  bool unheard_ = false;
};

// A whole query: one request, one reply.
can::Payload query(const Model& model, uint32_t requestBase, const can::Payload& request,
                   uint32_t replyBase, const MissingReplyLine& missing);

// The missing-reply line of a query that names a motor or encoder on a model that numbers its
// channels, and the bare coded line otherwise.
MissingReplyLine channelLine(const Model& model, int32_t code, std::string_view label,
                             uint8_t channel);

}  // namespace brova::controller
