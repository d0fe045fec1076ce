// The controllers' CAN message set.
//
// A 29-bit identifier is device type (bits 28..24) | manufacturer (23..16) | API number (15..6)
// | device number (5..0). The base identifiers below are the full identifiers with device number
// 0; a frame's identifier is base + device number.
#pragma once

#include <cstdint>

namespace brova::can {

inline constexpr int32_t kDeviceTypeMotorController = 2;
inline constexpr int32_t kManufacturer = 12;
inline constexpr uint32_t kFullIdentifierMask = 0x1FFFFFFF;
// The device type and manufacturer bits, which every identifier of the set carries.
inline constexpr uint32_t kTypeAndManufacturerMask = 0x1FFF0000;
inline constexpr uint32_t kMessageSet =
    static_cast<uint32_t>(kDeviceTypeMotorController) << 24 | kManufacturer << 16;

inline constexpr uint32_t kDeviceIdRequest = 0x020C0000;         // API 0
inline constexpr uint32_t kDeviceIdReply = 0x020C0040;           // API 1
inline constexpr uint32_t kFirmwareVersionRequest = 0x020C0080;  // API 2
inline constexpr uint32_t kFirmwareVersionReply = 0x020C00C0;    // API 3
inline constexpr uint32_t kHardwareVersionRequest = 0x020C0100;  // API 4
inline constexpr uint32_t kHardwareVersionReply = 0x020C0140;    // API 5
inline constexpr uint32_t kSerialNumberRequest = 0x020C0180;     // API 6
inline constexpr uint32_t kSerialNumberFirstWord = 0x020C01C0;   // API 7
inline constexpr uint32_t kSerialNumberSecondWord = 0x020C0200;  // API 8
inline constexpr uint32_t kSerialNumberThirdWord = 0x020C0240;   // API 9
inline constexpr uint32_t kConfigureMotor = 0x020C0280;          // API 10
inline constexpr uint32_t kMotorFrequencyRequest = 0x020C02C0;   // API 11
inline constexpr uint32_t kMotorFrequencyReply = 0x020C0300;     // API 12
inline constexpr uint32_t kDisableMotor = 0x020C0340;            // API 13
inline constexpr uint32_t kSetMotorSpeed = 0x020C0380;           // API 14
inline constexpr uint32_t kMotorCurrentRequest = 0x020C03C0;     // API 15
inline constexpr uint32_t kMotorCurrentReply = 0x020C0400;       // API 16
inline constexpr uint32_t kEncoderCountRequest = 0x020C0440;     // API 17
inline constexpr uint32_t kEncoderCountReply = 0x020C0480;       // API 18
inline constexpr uint32_t kResetEncoder = 0x020C04C0;            // API 19
inline constexpr uint32_t kKeepAliveInactive = 0x020C0500;       // API 20
inline constexpr uint32_t kKeepAliveActive = 0x020C0540;         // API 21
inline constexpr uint32_t kControllerTempRequest = 0x020C05C0;   // API 23
inline constexpr uint32_t kControllerTempReply = 0x020C0600;     // API 24
inline constexpr uint32_t kMotorRpmRequest = 0x020C0640;         // API 25
inline constexpr uint32_t kMotorRpmReply = 0x020C0680;           // API 26

// The API number (bits 15..6) of an identifier.
constexpr uint32_t apiNumber(uint32_t identifier) { return (identifier >> 6) & 0x3FF; }
// The device number (bits 5..0) of an identifier.
constexpr uint32_t deviceNumber(uint32_t identifier) { return identifier & 0x3F; }
// The base identifier (device number 0) of an identifier.
constexpr uint32_t baseOf(uint32_t identifier) { return identifier & ~0x3Fu; }

static_assert(apiNumber(kMotorRpmReply) == 26 && apiNumber(kKeepAliveActive) == 21);
static_assert(kDeviceIdRequest == kMessageSet && baseOf(kMotorRpmReply + 63) == kMotorRpmReply);

}  // namespace brova::can
