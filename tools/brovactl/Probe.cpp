#include "Probe.h"

#include <algorithm>

#include "can/Identifiers.h"
#include "controller/Decoding.h"
#include "controller/Exchange.h"
#include "controller/Models.h"

namespace brovactl {

using brova::controller::Model;

const Model& descriptionOf(Kind kind) {
  return kind == Kind::Small ? brova::controller::brovaSmallModel()
                             : brova::controller::brovaQuadModel();
}

const char* nameOf(Kind kind) {
  switch (kind) {
    case Kind::Quad: return "BrovaQuad";
    case Kind::Small: return "BrovaSmall";
    case Kind::Either: break;
  }
  return "unknown model";
}

double slowestReplyPause() {
  return std::max(descriptionOf(Kind::Quad).replyPause, descriptionOf(Kind::Small).replyPause);
}

Probe::Probe(int device) : device_(device) {
  state_.deviceNumber.store(device, std::memory_order_release);
}

Model Probe::as(Kind kind) { return brova::controller::onDevice(descriptionOf(kind), state_); }

std::optional<int> Probe::askDeviceId(double wait) {
  Model model = as(Kind::Quad);
  model.replyPause = wait;
  brova::controller::Exchange exchange(model, brova::can::kDeviceIdRequest, {});
  const auto reply = exchange.tryReceive(brova::can::kDeviceIdReply);
  if (!reply) return std::nullopt;
  return brova::controller::firstByte(*reply);
}

std::optional<Hardware> Probe::askHardware() {
  // The model is not known until the reply says it: wait as long as either model needs.
  Model model = as(Kind::Quad);
  model.replyPause = slowestReplyPause();
  brova::controller::Exchange exchange(model, brova::can::kHardwareVersionRequest, {});
  const auto reply = exchange.tryReceive(brova::can::kHardwareVersionReply);
  if (!reply) return std::nullopt;
  Hardware hardware;
  hardware.type = (*reply)[0];
  if (hardware.type == brova::controller::kQuadHardware) hardware.kind = Kind::Quad;
  if (hardware.type == brova::controller::kSmallHardware) hardware.kind = Kind::Small;
  hardware.text =
      brova::controller::hardwareText(*reply, descriptionOf(hardware.kind).unknownHardware);
  if (hardware.kind == Kind::Either)
    hardware.text = "hardware type " + std::to_string(hardware.type);
  return hardware;
}

}  // namespace brovactl
