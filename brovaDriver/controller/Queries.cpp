#include "controller/Queries.h"

#include "can/Identifiers.h"
#include "common/Console.h"
#include "controller/Commands.h"
#include "controller/Decoding.h"
#include "controller/Exchange.h"

namespace brova::controller {

namespace {
constexpr std::string_view kForMotor = " for motor: ";
constexpr std::string_view kForEncoder = " for encoder: ";
}  // namespace

int32_t getDeviceId(const Model& model) {
  return firstByte(query(model, can::kDeviceIdRequest, {}, can::kDeviceIdReply,
                         {.code = console::kDeviceIdUnavailable}));
}

int32_t getFrequency(const Model& model) {
  // Only byte 0 is read back, although configure sends a 16-bit frequency.
  return firstByte(query(model, can::kMotorFrequencyRequest, {}, can::kMotorFrequencyReply,
                         {.code = console::kFrequencyUnavailable}));
}

double getCurrent(const Model& model, uint8_t motor) {
  const auto reply =
      query(model, can::kMotorCurrentRequest, channelPayload(motor), can::kMotorCurrentReply,
            channelLine(model, console::kMotorCurrentUnavailable, kForMotor, motor));
  return motorCurrent(reply, model);
}

double getControllerTemp(const Model& model) {
  return controllerTemperature(query(model, can::kControllerTempRequest, {},
                                     can::kControllerTempReply,
                                     {.code = console::kControllerTempUnavailable}));
}

double getRpm(const Model& model, uint8_t motor) {
  return unsignedWord16(query(model, can::kMotorRpmRequest, channelPayload(motor),
                              can::kMotorRpmReply, {.text = console::kRpmUnavailable}));
}

std::string getFirmwareVersion(const Model& model) noexcept try {
  return firmwareVersionText(query(model, can::kFirmwareVersionRequest, {},
                                   can::kFirmwareVersionReply,
                                   {.code = console::kFirmwareVersionUnavailable}));
} catch (...) {
  return {};  // Out of memory for the text.
}

std::string getHardwareVersion(const Model& model) noexcept try {
  return hardwareText(query(model, can::kHardwareVersionRequest, {}, can::kHardwareVersionReply,
                            {.code = console::kHardwareVersionUnavailable}),
                      model.unknownHardware);
} catch (...) {
  return {};
}

std::string getSerialNumber(const Model& model) noexcept try {
  // One request, three replies read back to back; missing words read as zeros, silently.
  constexpr MissingReplyLine kSilent{.silent = true};
  Exchange exchange(
      model, can::kSerialNumberRequest, {},
      {can::kSerialNumberFirstWord, can::kSerialNumberSecondWord, can::kSerialNumberThirdWord});
  const uint32_t first = word32(exchange.receive(can::kSerialNumberFirstWord, kSilent));
  const uint32_t second = word32(exchange.receive(can::kSerialNumberSecondWord, kSilent));
  const uint32_t third = word32(exchange.receive(can::kSerialNumberThirdWord, kSilent));
  return serialNumberText(first, second, third);
} catch (...) {
  return {};
}

double getEncoderDistance(const Model& model, uint8_t encoder, double distancePerTick,
                          double* result) {
  const auto reply =
      query(model, can::kEncoderCountRequest, channelPayload(encoder), can::kEncoderCountReply,
            channelLine(model, console::kEncoderDistanceUnavailable, kForEncoder, encoder));
  const double distance = static_cast<double>(signedCount(reply)) * distancePerTick;
  if (result != nullptr) *result = distance;
  return distance;
}

void resetEncoder(const Model& model, uint8_t encoder) {
  can::sendFrame(can::kResetEncoder, channelPayload(encoder), model.address());
}

void setEncoder(double value, double* result) {
  if (result != nullptr) *result = value;
}

}  // namespace brova::controller
