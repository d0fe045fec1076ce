// What the tools beside the library (brovactl, brova-decode) use of the driver, and all they
// use: asking a device questions without opening it, and the controllers' messages in words.
// Not part of the library a robot program links: the tools link it with the driver's core.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "brova/Limits.hpp"

namespace brova::tools {

enum class Model { Quad, Small };

// The CAN buses this build's HAL can name: 0..busCount()-1 (one where its calls name none).
int busCount();

// "BrovaQuad", "BrovaSmall".
const char* nameOf(Model model);
// How long the library waits for a reply of `model`, in seconds.
double replyPause(Model model);
// The longer of the two: how long to wait for a device of either model.
double slowestReplyPause();

// What a hardware-version reply says.
struct Hardware {
  std::optional<Model> model;  // none: a hardware type neither model reports
  int type = 0;                // reply byte 0
  std::string text;            // the library's hardware text, or "hardware type N"
};

// One device asked questions with the library's own requests, exchanges and decoders, through
// a device slot of its own: nothing here sends a configure, set-speed, disable, reset or
// keep-alive frame, and no open controller's device number changes.
class DeviceQuestions {
 public:
  // Device `device` on CAN bus `bus`.
  explicit DeviceQuestions(int device, int bus = 0);
  ~DeviceQuestions();
  DeviceQuestions(const DeviceQuestions&) = delete;
  DeviceQuestions& operator=(const DeviceQuestions&) = delete;

  int device() const { return device_; }

  // The device number the device reports, or nothing when no reply came within `wait` seconds.
  std::optional<int> askDeviceId(double wait);
  // The hardware-version reply, waited for as long as the slower model needs; nothing when none.
  std::optional<Hardware> askHardware();

  // The library's queries of `model`, addressed to this device: a missing reply prints the
  // library's line and reads as zero.
  std::string firmwareVersion(Model model);
  std::string hardwareVersion(Model model);
  std::string serialNumber(Model model);
  double current(Model model, uint8_t channel);
  double rpm(Model model, uint8_t channel);
  double temperature(Model model);
  double encoderCount(Model model, uint8_t channel);

 private:
  struct Slot;
  const int device_;
  std::unique_ptr<Slot> slot_;
};

// What a frame on the bus means, in the controllers' message names:
//   dev 5  set motor speed  motor 1  +50%
// Frames that are not the controllers' messages read "other <id>#<bytes>".
std::string describeFrame(uint32_t id, const std::vector<uint8_t>& data);

}  // namespace brova::tools
