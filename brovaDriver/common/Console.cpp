#include "common/Console.h"

#include <iostream>
#include <mutex>
#include <string>

namespace brova::console {
namespace {

// Keeps lines from different threads whole.
constinit std::mutex consoleLock;

}  // namespace

const char* messageFor(int32_t code) {
  switch (code) {
    case kNoError: return "";
    case kInitializationFailed: return "Brova could not be initialized";
    case kFrequencyOutOfRange: return "Motor frequency out of range [0;20000]";
    case kDeviceIdOutOfRange: return "Device ID out of range [1;63]";
    case kDeviceIdUnavailable: return "Device ID could not be obtained";
    case kFrequencyUnavailable: return "Motor frequency could not be obtained";
    case kFirmwareVersionUnavailable: return "Firmware version could not be obtained";
    case kHardwareVersionUnavailable: return "Hardware version could not be obtained";
    case kMotorCurrentUnavailable: return "Motor current could not be obtained";
    case kControllerTempUnavailable: return "Controller temp could not be obtained";
    case kEncoderDistanceUnavailable: return "Encoder distance could not be obtained";
    case kEncoderRpmUnavailable: return "Encoder RPM could not be obtained";
    case kI2CNotConnected: return "I2C device not connected";
    case kI2CConnected: return "I2C device is connected";
    case kReadCountOutOfRange: return "Read count bytes out of range [1;)";
    case kReadBufferNull: return "Read buffer is null";
    default: return "Unknown error found";
  }
}

void report(std::string_view text) {
  try {
    std::lock_guard lock(consoleLock);
    std::cout << text << std::endl;
  } catch (...) {
    // A console that cannot be written loses the line; the operation carries on.
  }
}

void reportStatus(int32_t code) { report(messageFor(code)); }

void reportWith(std::string_view text, std::string_view label, unsigned number) {
  try {
    std::string line(text);
    line += label;
    line += std::to_string(number);
    report(line);
  } catch (...) {
  }
}

}  // namespace brova::console
