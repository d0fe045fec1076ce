#include <cstdio>
#include <string_view>

#include "BrovaTools.h"
#include "can/Identifiers.h"
#include "controller/Decoding.h"

namespace brova::tools {

namespace {

std::string hex(const std::vector<uint8_t>& data) {
  std::string text;
  for (uint8_t byte : data) {
    char pair[3];
    std::snprintf(pair, sizeof pair, "%02X", byte);
    text += pair;
  }
  return text;
}

std::string fixed(double value, int decimals) {
  char text[32];
  std::snprintf(text, sizeof text, "%.*f", decimals, value);
  return text;
}

std::string word(const can::Payload& p) {
  char text[16];
  std::snprintf(text, sizeof text, "%08X", controller::word32(p));
  return text;
}

std::string speed(const can::Payload& p) {
  const bool forward = p[2] != 0;
  const bool reverse = p[3] != 0;
  if (forward && reverse) return "0%";
  if (!forward && !reverse) return "NaN";
  return std::string(forward ? "+" : "-") + std::to_string(p[1]) + "%";
}

std::string channel(std::string_view label, const can::Payload& p) {
  return std::string(label) + " " + std::to_string(p[0]);
}

}  // namespace

std::string describeFrame(uint32_t id, const std::vector<uint8_t>& data) {
  char idText[16];
  std::snprintf(idText, sizeof idText, "%08X", id);
  if ((id & can::kTypeAndManufacturerMask) != can::kMessageSet)
    return "other  " + std::string(idText) + "#" + hex(data);

  can::Payload p{};
  for (size_t i = 0; i < data.size() && i < p.size(); ++i) p[i] = data[i];
  const uint32_t base = can::baseOf(id);
  const std::string device = "dev " + std::to_string(can::deviceNumber(id)) + "  ";
  using namespace can;
  using namespace controller;
  switch (base) {
    case kDeviceIdRequest: return device + "device id request";
    case kDeviceIdReply: return device + "device id  " + std::to_string(firstByte(p));
    case kFirmwareVersionRequest: return device + "firmware version request";
    case kFirmwareVersionReply: return device + firmwareVersionText(p);
    case kHardwareVersionRequest: return device + "hardware version request";
    case kHardwareVersionReply: return device + hardwareText(p, UnknownHardware::NoHardwareFound);
    case kSerialNumberRequest: return device + "serial number request";
    case kSerialNumberFirstWord: return device + "serial word 1  " + word(p);
    case kSerialNumberSecondWord: return device + "serial word 2  " + word(p);
    case kSerialNumberThirdWord: return device + "serial word 3  " + word(p);
    case kConfigureMotor:
      return device + "configure motor  " + channel("motor", p) + "  " +
             std::to_string(p[1] | p[2] << 8) + " Hz";
    case kMotorFrequencyRequest: return device + "motor frequency request";
    case kMotorFrequencyReply: return device + "motor frequency  " + std::to_string(firstByte(p));
    case kDisableMotor: return device + "disable motor  " + channel("motor", p);
    case kSetMotorSpeed:
      return device + "set motor speed  " + channel("motor", p) + "  " + speed(p);
    case kMotorCurrentRequest: return device + "motor current request  " + channel("motor", p);
    case kMotorCurrentReply:
      return device + "motor current  " + fixed(wholeAndFraction(p, 100.0), 2) + " A";
    case kEncoderCountRequest: return device + "encoder count request  " + channel("encoder", p);
    case kEncoderCountReply: return device + "encoder count  " + std::to_string(signedCount(p));
    case kResetEncoder: return device + "reset encoder  " + channel("encoder", p);
    case kKeepAliveInactive: return device + "keep-alive  not active";
    case kKeepAliveActive: return device + "keep-alive  active";
    case kControllerTempRequest: return device + "controller temp request";
    case kControllerTempReply:
      return device + "controller temp  " + fixed(wholeAndFraction(p, 100.0), 2) + " C";
    case kMotorRpmRequest: return device + "motor rpm request  " + channel("motor", p);
    case kMotorRpmReply: return device + "motor rpm  " + fixed(unsignedWord16(p), 0);
    default: return device + "api " + std::to_string(apiNumber(id)) + "  " + hex(data);
  }
}

}  // namespace brova::tools
