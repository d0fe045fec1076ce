// Replies of any size, bytes and platform status, taken off the simulated bus and decoded,
// against a straightforward reading of the reply layouts.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <iomanip>
#include <sstream>
#include <string>

#include "brovasim/SimCan.h"
#include "can/Identifiers.h"
#include "can/Link.h"
#include "controller/Decoding.h"

namespace {

using brova::can::Payload;

void require(bool ok) {
  if (!ok) std::abort();
}

std::string referenceFirmware(const Payload& r) {
  std::ostringstream text;
  text << "Firmware Version: [" << int{r[0]} << "." << int{r[1]} << "." << int{r[2]} << "]";
  return text.str();
}

std::string referenceSerial(const Payload& r) {
  uint32_t word = 0;
  for (int i = 3; i >= 0; --i) word = word * 256 + r[i];
  std::ostringstream text;
  text << std::uppercase << std::hex << std::setfill('0') << std::setw(8) << word;
  return text.str();
}

std::string referenceHardware(const Payload& r, bool quadRules) {
  const std::string version = std::to_string(r[1]);
  if (r[0] == 1) return "Hardware: Brova Quad, Version: " + version;
  if (r[0] == 2 || !quadRules) return "Hardware: Brova Small, Version: " + version;
  return "No Hardware Found!";
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* input, size_t size) {
  using namespace brova;
  static const bool once = [] {
    brovasim::can::setRecording(false);
    return true;
  }();
  (void)once;
  if (size < 6) return 0;
  int32_t status;
  std::memcpy(&status, input, 4);
  const uint8_t reportedSize = input[4];
  const uint8_t device = input[5] & 0x3F;
  uint8_t bytes[8] = {};
  std::memcpy(bytes, input + 6, std::min<size_t>(size - 6, 8));

  brovasim::can::removeAllFrames();
  brovasim::can::putFrame(can::kMotorCurrentReply + device, bytes, reportedSize);
  brovasim::can::failNextReceives(status);
  Payload reply{};
  const bool taken = can::receiveFrame(can::kMotorCurrentReply, reply, {.device = device});

  Payload expected{};
  if (status >= 0) {
    for (size_t i = 0; i < std::min<size_t>(reportedSize, 8); ++i) expected[i] = bytes[i];
  }
  require(taken == (status >= 0));
  require(reply == expected);

  const Payload& r = reply;
  require(controller::firstByte(r) == r[0]);
  require(controller::wholeAndFraction(r, 100.0) == r[0] + r[1] / 100.0);
  require(controller::wholeAndFraction(r, 1.0) == double(r[0]) + double(r[1]));
  require(controller::unsignedWord16(r) == r[0] + 256.0 * r[1]);
  require(controller::unsignedWord16(r) >= 0.0);
  const int64_t wide =
      int64_t{r[0]} | int64_t{r[1]} << 8 | int64_t{r[2]} << 16 | int64_t{r[3]} << 24;
  require(controller::signedCount(r) == (wide >= 0x80000000LL ? wide - 0x100000000LL : wide));
  require(controller::firmwareVersionText(r) == referenceFirmware(r));
  require(controller::hardwareText(r, controller::UnknownHardware::NoHardwareFound) ==
          referenceHardware(r, true));
  require(controller::hardwareText(r, controller::UnknownHardware::ReadAsSmall) ==
          referenceHardware(r, false));
  const std::string serial =
      controller::serialNumberText(controller::word32(r), controller::word32(r), 0);
  require(serial == referenceSerial(r) + "-" + referenceSerial(r) + "-00000000");
  return 0;
}
