// brova-decode: prints a candump log of the robot's CAN bus in the controllers' message names.
//   brova-decode capture.log      (or from standard input with no file or "-")
#include <cstdio>
#include <fstream>
#include <iostream>
#include <optional>
#include <string>

#include "BrovaTools.h"
#include "brovasim/CandumpLog.h"

namespace {

constexpr const char* kUsage =
    "usage: brova-decode [FILE]\n"
    "Reads a candump log (\"(seconds.micros) iface IIIIIIII#DDDD...\", one frame a line) from "
    "FILE\n"
    "or standard input and prints each frame as the controllers' message, with its time since\n"
    "the first frame:\n"
    "  0.000000  dev 5  set motor speed  motor 1  +50%\n"
    "Lines that are not frames are passed over. Exit status: 0, or 2 when FILE cannot be read.\n";

int decode(std::istream& in) {
  std::optional<int64_t> first;
  std::string line;
  while (std::getline(in, line)) {
    const auto frame = brovasim::parseCandumpLine(line);
    if (!frame) continue;
    if (!first) first = frame->microseconds;
    const int64_t since = frame->microseconds - *first;
    std::printf("%lld.%06lld  %s\n", static_cast<long long>(since / 1000000),
                static_cast<long long>(since % 1000000),
                brova::tools::describeFrame(frame->id, frame->data).c_str());
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string arg = argc > 1 ? argv[1] : "-";
  if (arg == "-h" || arg == "--help") {
    std::fputs(kUsage, stdout);
    return 0;
  }
  if (arg == "-") return decode(std::cin);
  std::ifstream file(arg);
  if (!file) {
    std::fprintf(stderr, "brova-decode: cannot read %s\n", arg.c_str());
    return 2;
  }
  return decode(file);
}
