// Asking one device questions without opening it: requests only, through the library's own
// exchange, queries and decoders, with a device slot of the tool's own. Nothing here sends a
// configure, set-speed, disable, reset or keep-alive frame, and no open controller's device
// number changes.
#pragma once

#include <optional>
#include <string>

#include "Arguments.h"
#include "controller/Model.h"

namespace brovactl {

const brova::controller::Model& descriptionOf(Kind kind);
const char* nameOf(Kind kind);
// The longer of the two models' reply pauses: how long to wait for a device of either model.
double slowestReplyPause();

// What the hardware-version reply says.
struct Hardware {
  Kind kind = Kind::Either;  // Either: a hardware type neither model reports
  int type = 0;              // reply byte 0
  std::string text;          // the library's hardware text
};

class Probe {
 public:
  explicit Probe(int device);
  Probe(const Probe&) = delete;
  Probe& operator=(const Probe&) = delete;

  int device() const { return device_; }

  // The device number the device reports, or nothing when no reply came within `wait` seconds.
  std::optional<int> askDeviceId(double wait);
  // The hardware-version reply, waiting as long as the slower model needs; nothing when none.
  std::optional<Hardware> askHardware();

  // `kind`'s description addressing this device, for the library's query functions.
  brova::controller::Model as(Kind kind);

 private:
  const int device_;
  brova::controller::ModelState state_;
};

}  // namespace brovactl
