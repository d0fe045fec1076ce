// The requests of one telemetry round, grouped into waves: requests whose replies carry
// different identifiers share one wait, so a wave holds at most one request per reply
// identifier. Wave k reads the k-th chosen channel; the first wave also reads the temperature.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "can/Link.h"
#include "controller/Description.h"
#include "devices/Device.h"

namespace brova::devices {

struct Request {
  Quantity quantity;
  uint8_t channel;
  uint32_t requestBase;
  uint32_t replyBase;
  std::size_t slot;
};

using Wave = std::vector<Request>;

std::vector<Wave> roundOf(Kind kind, Choice choice);

// The value of a reply to `request`, decoded as the blocking query of that quantity decodes it;
// the encoder count as a raw count.
double decode(const Request& request, const can::Payload& reply, const controller::Model& model);

}  // namespace brova::devices
