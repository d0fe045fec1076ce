// watch: one controller's telemetry, refreshed until stopped or a count of refreshes is done.
#include <cstdio>
#include <string>

#include "Commands.h"
#include "StopRequest.h"

namespace brovactl {
namespace {

constexpr int kDefaultIntervalMs = 500;

std::string line(const char* format, auto... values) {
  char text[160];
  std::snprintf(text, sizeof text, format, values...);
  return text;
}

// One refresh: every query of the model, printed as one block.
void printTelemetry(const Io& io, brova::tools::DeviceQuestions& questions, Model model,
                    double seconds) {
  const bool quad = model == Model::Quad;
  std::string block =
      line("%s device %d  t=%.2f s", brova::tools::nameOf(model), questions.device(), seconds);
  if (quad) block += line("  temperature %.2f C", questions.temperature(model));
  block += "\n";
  for (int m = 0; m < (quad ? brova::kQuadChannels : 1); ++m) {
    const auto motor = static_cast<uint8_t>(m);
    block += line("  motor %d  current %6.2f A", m, questions.current(model, motor));
    // The BrovaSmall has no RPM query.
    if (quad) block += line("  rpm %5.0f", questions.rpm(model, motor));
    block += line("  count %10.0f\n", questions.encoderCount(model, motor));
  }
  io.out << block << std::flush;
}

int watch(const Io& io) {
  const Target target = targetOf(io.arguments, false);
  const int intervalMs = io.arguments.integer("--interval", 10, 60000).value_or(kDefaultIntervalMs);
  const auto count = io.arguments.integer("--count", 1, 1000000);
  if (!io.openBus()) return kFailed;

  brova::tools::DeviceQuestions questions(target.device, busOf(io.arguments));
  const Model model = *target.model;
  if (!questions.askDeviceId(brova::tools::replyPause(model))) {
    io.err << "brovactl watch: device " << target.device << " does not answer\n";
    return kFailed;
  }
  const auto start = Clock::now();
  const auto interval = std::chrono::milliseconds(intervalMs);
  for (int refresh = 1; !count || refresh <= *count; ++refresh) {
    const std::chrono::duration<double> since = Clock::now() - start;
    printTelemetry(io, questions, model, since.count());
    if (count && refresh == *count) break;
    if (waitUntilOrStop(start + refresh * interval)) break;
  }
  return kOk;
}

}  // namespace

const Command kWatch{
    .name = "watch",
    .summary = "telemetry of one controller, refreshed",
    .help =
        "usage: brovactl watch --quad N | --small N [--interval MS] [--count K]\n"
        "Prints the controller's telemetry every interval until Ctrl-C: per channel the\n"
        "current, the RPM (BrovaQuad only) and the encoder count; the BrovaQuad's\n"
        "temperature. Requests only: the controller is not configured, driven or kept alive.\n"
        "Exit status: 0 done, 1 the device does not answer, 2 bad usage.\n\n"
        "  --quad N           a BrovaQuad with device number N (1..63)\n"
        "  --small N          a BrovaSmall with device number N (1..63)\n"
        "  --interval MS      between refreshes, 10..60000 (default 500)\n"
        "  --count K          stop after K refreshes\n",
    .options = {{"--quad"}, {"--small"}, {"--interval"}, {"--count"}},
    .run = watch,
};

}  // namespace brovactl
