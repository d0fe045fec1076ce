// What the platform this brovactl runs on offers besides the HAL functions: where the bus is,
// the robot's enable, and a listener for every frame on the bus. One implementation per
// platform: SimBackend.cpp (the simulated platform, in-process) and SocketCanBackend.cpp.
#pragma once

#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>
#include <ostream>
#include <string_view>
#include <vector>

#include "Arguments.h"
#include "StopRequest.h"

namespace brovactl {

// "simulated CAN bus" or "SocketCAN bus".
extern const std::string_view kBackendName;
// The option every command accepts to say where the bus is (--simulate LIST, --can IFACE),
// and its line of help.
extern const OptionSpec kBusOption;
extern const std::string_view kBusOptionHelp;

// Opens the bus the arguments name (--bus among them). Throws UsageError for a bad value; false
// (with a line on `err`) when the bus cannot be opened.
bool openBus(const Arguments& arguments, std::ostream& err);
// Lets go of what openBus set up (simulated controllers it attached).
void closeBus();

// The robot's enable, which the controllers hear in the keep-alive frames. `lease` is how long
// it lasts unless renewed, where the platform lapses it by itself.
void enableRobot(std::chrono::milliseconds lease);
void disableRobot();

struct TappedFrame {
  Clock::time_point at;
  uint32_t id = 0;
  std::vector<uint8_t> data;
};

// Every frame on one bus from its creation on, whoever sent it.
class BusTap {
 public:
  virtual ~BusTap() = default;
  // The next frame, or nothing when `deadline` passed or a stop was requested first.
  virtual std::optional<TappedFrame> next(Clock::time_point deadline) = 0;
};

// The frames of CAN bus `bus`; nothing (with a line on `err`) when it cannot be listened to.
std::unique_ptr<BusTap> tapBus(int bus, std::ostream& err);

}  // namespace brovactl
