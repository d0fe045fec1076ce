#include <algorithm>

#include "BrovaTools.h"
#include "can/Identifiers.h"
#include "controller/Decoding.h"
#include "controller/Exchange.h"
#include "controller/Models.h"
#include "controller/Queries.h"

namespace brova::tools {
namespace {

const controller::Model& descriptionOf(Model model) {
  return model == Model::Small ? controller::brovaSmallModel() : controller::brovaQuadModel();
}

}  // namespace

const char* nameOf(Model model) { return model == Model::Small ? "BrovaSmall" : "BrovaQuad"; }

double replyPause(Model model) { return descriptionOf(model).replyPause; }

double slowestReplyPause() { return std::max(replyPause(Model::Quad), replyPause(Model::Small)); }

// The device slot and exchange lock of the questions, apart from the models' own.
struct DeviceQuestions::Slot {
  controller::ModelState state;

  // `model`'s description, addressing this slot's device, waiting `pause` for replies.
  controller::Model as(Model model, std::optional<double> pause = {}) {
    controller::Model asked = controller::withState(descriptionOf(model), state);
    asked.replyPause = pause.value_or(asked.replyPause);
    return asked;
  }
};

int busCount() { return can::busCount(); }

DeviceQuestions::DeviceQuestions(int device, int bus)
    : device_(device), slot_(std::make_unique<Slot>()) {
  slot_->state.deviceNumber.store(device, std::memory_order_release);
  slot_->state.bus = bus;
}

DeviceQuestions::~DeviceQuestions() = default;

std::optional<int> DeviceQuestions::askDeviceId(double wait) {
  controller::Exchange exchange(slot_->as(Model::Quad, wait), can::kDeviceIdRequest, {},
                                {can::kDeviceIdReply});
  const auto reply = exchange.tryReceive(can::kDeviceIdReply);
  if (!reply) return std::nullopt;
  return controller::firstByte(*reply);
}

std::optional<Hardware> DeviceQuestions::askHardware() {
  // The model is not known until the reply says it: wait as long as either model needs.
  controller::Exchange exchange(slot_->as(Model::Quad, slowestReplyPause()),
                                can::kHardwareVersionRequest, {}, {can::kHardwareVersionReply});
  const auto reply = exchange.tryReceive(can::kHardwareVersionReply);
  if (!reply) return std::nullopt;
  Hardware hardware;
  hardware.type = (*reply)[0];
  if (hardware.type == controller::kQuadHardware) hardware.model = Model::Quad;
  if (hardware.type == controller::kSmallHardware) hardware.model = Model::Small;
  hardware.text = hardware.model ? controller::hardwareText(
                                       *reply, descriptionOf(*hardware.model).unknownHardware)
                                 : "hardware type " + std::to_string(hardware.type);
  return hardware;
}

std::string DeviceQuestions::firmwareVersion(Model model) {
  return controller::getFirmwareVersion(slot_->as(model));
}
std::string DeviceQuestions::hardwareVersion(Model model) {
  return controller::getHardwareVersion(slot_->as(model));
}
std::string DeviceQuestions::serialNumber(Model model) {
  return controller::getSerialNumber(slot_->as(model));
}
double DeviceQuestions::current(Model model, uint8_t channel) {
  return controller::getCurrent(slot_->as(model), channel);
}
double DeviceQuestions::rpm(Model model, uint8_t channel) {
  return controller::getRpm(slot_->as(model), channel);
}
double DeviceQuestions::temperature(Model model) {
  return controller::getControllerTemp(slot_->as(model));
}
double DeviceQuestions::encoderCount(Model model, uint8_t channel) {
  return controller::getEncoderDistance(slot_->as(model), channel, 1.0, nullptr);
}

}  // namespace brova::tools
