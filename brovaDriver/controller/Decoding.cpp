#include "controller/Decoding.h"

#include <cstdio>

namespace brova::controller {

int32_t firstByte(const can::Payload& reply) { return reply[0]; }

double wholeAndFraction(const can::Payload& reply, double byte1Divisor) {
  return static_cast<double>(reply[0]) + static_cast<double>(reply[1]) / byte1Divisor;
}

double motorCurrent(const can::Payload& reply, const Model& model) {
  return wholeAndFraction(reply, model.currentByte1Divisor);
}

double controllerTemperature(const can::Payload& reply) {
  constexpr double kHundredths = 100.0;
  return wholeAndFraction(reply, kHundredths);
}

double unsignedWord16(const can::Payload& reply) {
  return static_cast<double>(reply[0] | (reply[1] << 8));
}

uint32_t word32(const can::Payload& reply) {
  return static_cast<uint32_t>(reply[0]) | static_cast<uint32_t>(reply[1]) << 8 |
         static_cast<uint32_t>(reply[2]) << 16 | static_cast<uint32_t>(reply[3]) << 24;
}

int32_t signedCount(const can::Payload& reply) { return static_cast<int32_t>(word32(reply)); }

std::string firmwareVersionText(const can::Payload& reply) {
  return "Firmware Version: [" + std::to_string(reply[0]) + "." + std::to_string(reply[1]) + "." +
         std::to_string(reply[2]) + "]";
}

std::string hardwareText(const can::Payload& reply, UnknownHardware unknown) {
  const uint8_t type = reply[0];
  const std::string version = std::to_string(reply[1]);
  if (type == kQuadHardware) return "Hardware: Brova Quad, Version: " + version;
  if (type == kSmallHardware || unknown == UnknownHardware::ReadAsSmall) {
    return "Hardware: Brova Small, Version: " + version;
  }
  return "No Hardware Found!";
}

std::string serialNumberText(uint32_t first, uint32_t second, uint32_t third) {
  char text[27];
  std::snprintf(text, sizeof text, "%08X-%08X-%08X", first, second, third);
  return text;
}

}  // namespace brova::controller
