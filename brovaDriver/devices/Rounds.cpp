#include "devices/Rounds.h"

#include <array>

#include "can/Identifiers.h"
#include "controller/Decoding.h"
#include "devices/Kinds.h"

namespace brova::devices {
namespace {

struct QuantityFrames {
  Quantity quantity;
  uint32_t request;
  uint32_t reply;
  bool perChannel;
};

constexpr std::array<QuantityFrames, 4> kQuantityFrames{{
    {kCurrent, can::kMotorCurrentRequest, can::kMotorCurrentReply, true},
    {kRpm, can::kMotorRpmRequest, can::kMotorRpmReply, true},
    {kEncoderCount, can::kEncoderCountRequest, can::kEncoderCountReply, true},
    {kTemperature, can::kControllerTempRequest, can::kControllerTempReply, false},
}};

Request requestOf(const QuantityFrames& frames, uint8_t channel) {
  return {frames.quantity, channel, frames.request, frames.reply, slotOf(frames.quantity, channel)};
}

}  // namespace

std::vector<Wave> roundOf(Kind kind, Choice choice) {
  const KindDescription& description = describe(kind);
  const uint32_t quantities = choice.quantities & description.quantities;
  // A single-channel controller reads channel 0 whatever the choice holds.
  const uint32_t channels = description.channels() == 1 ? 1u : choice.channels;

  std::vector<Wave> waves;
  for (int channel = 0; channel < description.channels(); ++channel) {
    if ((channels & (1u << channel)) == 0) continue;
    Wave wave;
    for (const QuantityFrames& frames : kQuantityFrames) {
      if (frames.perChannel && (quantities & frames.quantity) != 0) {
        wave.push_back(requestOf(frames, static_cast<uint8_t>(channel)));
      }
    }
    if (!wave.empty()) waves.push_back(std::move(wave));
  }
  for (const QuantityFrames& frames : kQuantityFrames) {
    if (!frames.perChannel && (quantities & frames.quantity) != 0) {
      if (waves.empty()) waves.emplace_back();
      waves.front().push_back(requestOf(frames, 0));
    }
  }
  return waves;
}

double decode(const Request& request, const can::Payload& reply, const controller::Model& model) {
  switch (request.quantity) {
    case kCurrent: return controller::motorCurrent(reply, model);
    case kRpm: return controller::unsignedWord16(reply);
    case kEncoderCount: return static_cast<double>(controller::signedCount(reply));
    case kTemperature: return controller::controllerTemperature(reply);
  }
  return 0.0;
}

}  // namespace brova::devices
