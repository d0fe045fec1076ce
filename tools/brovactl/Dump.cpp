// dump: every frame on the bus, in the controllers' message names (as brova-decode prints a
// capture), until stopped, a time or a count of frames.
#include <cstdio>

#include "Backend.h"
#include "BrovaTools.h"
#include "Commands.h"

namespace brovactl {
namespace {

int dump(const Io& io) {
  const auto seconds = io.arguments.number("--seconds", 0.0, 86400.0);
  const auto count = io.arguments.integer("--count", 1, 100000000);
  if (!io.openBus()) return kFailed;
  const auto tap = tapBus(busOf(io.arguments), io.err);
  if (!tap) return kFailed;

  const auto start = Clock::now();
  const auto deadline = seconds ? start + std::chrono::duration_cast<Clock::duration>(
                                              std::chrono::duration<double>(*seconds))
                                : Clock::time_point::max();
  int seen = 0;
  while (!count || seen < *count) {
    const auto frame = tap->next(deadline);
    if (!frame) break;
    ++seen;
    const std::chrono::duration<double> since = frame->at - start;
    char at[32];
    std::snprintf(at, sizeof at, "%.6f  ", since.count());
    io.out << at << brova::tools::describeFrame(frame->id, frame->data) << "\n" << std::flush;
  }
  if (seen == 0) {
    io.err << "brovactl dump: no frame on the " << kBackendName << "\n";
    return kFailed;
  }
  return kOk;
}

}  // namespace

const Command kDump{
    .name = "dump",
    .summary = "print the frames on the bus in the controllers' message names",
    .help =
        "usage: brovactl dump [--seconds S] [--count N]\n"
        "Prints every frame on the bus, whoever sent it, with its time since the start:\n"
        "  0.343679  dev 5  motor current request  motor 0\n"
        "Listens only. Runs until Ctrl-C, S seconds or N frames.\n"
        "Exit status: 0 frames seen, 1 none (or the bus cannot be listened to), 2 bad usage.\n\n"
        "  --seconds S        stop after S seconds\n"
        "  --count N          stop after N frames\n",
    .options = {{"--seconds"}, {"--count"}},
    .run = dump,
};

}  // namespace brovactl
