// Status codes, their console messages, and the one way a line reaches the console.
#pragma once

#include <cstdint>
#include <string_view>

namespace brova::console {

inline constexpr int32_t kNoError = 0;
inline constexpr int32_t kInitializationFailed = 1000;
inline constexpr int32_t kFrequencyOutOfRange = 1001;
inline constexpr int32_t kDeviceIdOutOfRange = 1002;
inline constexpr int32_t kDeviceIdUnavailable = 1010;
inline constexpr int32_t kFrequencyUnavailable = 1011;
inline constexpr int32_t kFirmwareVersionUnavailable = 1012;
inline constexpr int32_t kHardwareVersionUnavailable = 1013;
inline constexpr int32_t kMotorCurrentUnavailable = 1014;
inline constexpr int32_t kControllerTempUnavailable = 1015;
inline constexpr int32_t kEncoderDistanceUnavailable = 1020;
inline constexpr int32_t kEncoderRpmUnavailable = 1021;
inline constexpr int32_t kI2CNotConnected = 2001;
inline constexpr int32_t kI2CConnected = 2002;
inline constexpr int32_t kReadCountOutOfRange = 2010;
inline constexpr int32_t kReadBufferNull = 2011;

// Lines without a status code.
inline constexpr std::string_view kGreeting = "Brova Initialized";
inline constexpr std::string_view kRpmUnavailable = "RPM could not be obtained";
// After the name of the object that drives the device a create of the C entry points named.
inline constexpr std::string_view kOpenAsObject =
    " is open as an object; the create is refused until it is closed";

// The message of a status code; "Unknown error found" for a code not in the table.
const char* messageFor(int32_t code);

// Writes `text` and an end-of-line to standard output as one line, and flushes. Never throws.
void report(std::string_view text);

// Reports the message of `code`.
void reportStatus(int32_t code);

// Reports `text` followed by `label` and `number` in decimal, as one line.
void reportWith(std::string_view text, std::string_view label, unsigned number);

}  // namespace brova::console
