// scan: which device numbers answer a device-ID request, and what model each one is.
#include <cstdio>

#include "Backend.h"
#include "Commands.h"

namespace brovactl {
namespace {

constexpr int kMillisecondsPerSecond = 1000;

int scan(const Io& io) {
  // By default each device gets the reply window the library gives a BrovaQuad's device-ID
  // query; a slow bus or an emulated machine may need longer.
  const double defaultWait = brova::tools::replyPause(Model::Quad);
  const double wait = io.arguments.integer("--wait", 1, 1000)
                          .value_or(static_cast<int>(defaultWait * kMillisecondsPerSecond)) /
                      static_cast<double>(kMillisecondsPerSecond);
  if (!io.openBus()) return kFailed;

  int found = 0;
  for (int device = brova::kLowestDeviceNumber; device <= brova::kHighestDeviceNumber; ++device) {
    brova::tools::DeviceQuestions questions(device, busOf(io.arguments));
    if (!questions.askDeviceId(wait)) continue;
    ++found;
    const auto hardware = questions.askHardware();
    io.out << "device " << device << "  " << nameOf(hardware ? hardware->model : std::nullopt)
           << "  " << (hardware ? hardware->text : "no hardware-version reply") << "\n";
  }
  if (found == 0) {
    io.err << "brovactl scan: no device answered on the " << kBackendName << "\n";
    return kFailed;
  }
  io.out << found << (found == 1 ? " device" : " devices") << " answered\n";
  return kOk;
}

}  // namespace

const Command kScan{
    .name = "scan",
    .summary = "which devices (1..63) answer, and their model",
    .help =
        "usage: brovactl scan [--wait MS]\n"
        "Sends a device-ID request to every device number 1..63 and, to each one that\n"
        "answers, a hardware-version request; prints one line per device found:\n"
        "  device 5  BrovaQuad  Hardware: Brova Quad, Version: 3\n"
        "Requests only: no controller is configured, driven or kept alive.\n"
        "Exit status: 0 at least one device answered, 1 none did, 2 bad usage.\n\n"
        "  --wait MS          reply window per device, 1..1000 (default 10)\n",
    .options = {{"--wait"}},
    .run = scan,
};

}  // namespace brovactl
