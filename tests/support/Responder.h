// A stand-in controller for tests: answers each request frame with a reply built from it.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "brovasim/SimCan.h"

namespace brova::testing {

class Responder {
 public:
  using Reply = std::function<std::vector<uint8_t>(const brovasim::SentFrame& request)>;

  // On every frame sent to `requestId`, puts reply(request) on the bus as `replyId`.
  Responder(uint32_t requestId, uint32_t replyId, Reply reply)
      : subscription_(brovasim::can::subscribe(
            [requestId, replyId, reply = std::move(reply)](const brovasim::SentFrame& frame) {
              if (frame.id == requestId) brovasim::can::putFrame(replyId, reply(frame));
            })) {}
  ~Responder() { brovasim::can::unsubscribe(subscription_); }
  Responder(const Responder&) = delete;
  Responder& operator=(const Responder&) = delete;

 private:
  int subscription_;
};

}  // namespace brova::testing
