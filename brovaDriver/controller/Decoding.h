// Reply decodings: pure functions from a reply's bytes to a value or a text.
#pragma once

#include <cstdint>
#include <string>

#include "can/Link.h"
#include "controller/Description.h"

namespace brova::controller {

// Byte 0 of the hardware-version reply: which model answered.
inline constexpr uint8_t kQuadHardware = 1;
inline constexpr uint8_t kSmallHardware = 2;

// Byte 0 (device ID, motor frequency).
int32_t firstByte(const can::Payload& reply);
// Byte 0 + byte 1 / divisor (current, temperature: whole part and hundredths).
double wholeAndFraction(const can::Payload& reply, double byte1Divisor);
// Bytes 0..1, unsigned little-endian (RPM).
double unsignedWord16(const can::Payload& reply);
// The motor current as `model` encodes it, in amperes.
double motorCurrent(const can::Payload& reply, const Model& model);
// The controller temperature: whole degrees and hundredths.
double controllerTemperature(const can::Payload& reply);
// Bytes 0..3, little-endian (serial number words).
uint32_t word32(const can::Payload& reply);
// Bytes 0..3, little-endian two's complement (encoder count).
int32_t signedCount(const can::Payload& reply);

// "Firmware Version: [b0.b1.b2]".
std::string firmwareVersionText(const can::Payload& reply);
// "Hardware: Brova Quad, Version: v" for type 1, "Hardware: Brova Small, Version: v" for type
// 2; any other type as the model says.
std::string hardwareText(const can::Payload& reply, UnknownHardware unknown);
// Three words as 8 upper-case hex digits each, joined by "-".
std::string serialNumberText(uint32_t first, uint32_t second, uint32_t third);

}  // namespace brova::controller
