// Bus capture in the candump log format of the Linux CAN utilities, one frame a line:
//   (1700000000.123456) brova0 020C0285#02E8030000000000
// time in seconds with microseconds, interface name, the 29-bit identifier as 8 upper-case hex
// digits, '#', the data bytes as upper-case hex pairs.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace brovasim {

struct LoggedFrame {
  int64_t microseconds = 0;  // since the Unix epoch
  std::string interface;
  uint32_t id = 0;
  std::vector<uint8_t> data;
};

std::string formatCandumpLine(const LoggedFrame& frame);
// Reads one line; nothing for a line that is not a frame of this format.
std::optional<LoggedFrame> parseCandumpLine(std::string_view line);

namespace capture {

inline constexpr const char* kEnvironmentVariable = "BROVA_CAN_CAPTURE";
inline constexpr const char* kDefaultInterface = "brova0";

// Writes every frame sent on the simulated buses, and every frame a device puts on them, to
// `path` (replacing the file). Returns false when the file cannot be opened. The environment
// variable BROVA_CAN_CAPTURE, when set, starts a capture to the file it names at the buses'
// first use. Each line's interface names the frame's bus: `interfaceName` is bus 0's, and the
// other buses are named after it (interfaceOfBus).
bool start(const std::string& path, const std::string& interfaceName = kDefaultInterface);
// Ends the capture and closes the file.
void stop();
bool active();

// Appends one frame of `bus` to the capture, if one is running.
void record(uint32_t id, const uint8_t* data, uint8_t size, int32_t bus = 0);

// The interface name of `bus` in a capture whose bus 0 is `busZero`: bus N adds N to the number
// that ends the name (brova0 -> brova2 for bus 2, vcan4 -> vcan6), or appends N to a name that
// ends in no digit (robot -> robot2). Distinct buses get distinct names.
std::string interfaceOfBus(const std::string& busZero, int32_t bus);

}  // namespace capture
}  // namespace brovasim
