// info: the identity of one controller (firmware, hardware, serial number).
#include "Backend.h"
#include "Commands.h"
#include "Probe.h"
#include "controller/Queries.h"

namespace brovactl {
namespace {

int info(const Io& io) {
  Target target = targetOf(io.arguments, true);
  if (!io.openBus()) return kFailed;

  Probe probe(target.device);
  if (!probe.askDeviceId(slowestReplyPause())) {
    io.err << "brovactl info: device " << target.device << " does not answer\n";
    return kFailed;
  }
  if (target.kind == Kind::Either) {
    const auto hardware = probe.askHardware();
    target.kind = hardware ? hardware->kind : Kind::Either;
  }
  // A device of neither model is asked as a BrovaQuad, which names what it does not know.
  const auto model = probe.as(target.kind);
  io.out << "device " << target.device << "  " << nameOf(target.kind) << "\n"
         << "  " << brova::controller::getFirmwareVersion(model) << "\n"
         << "  " << brova::controller::getHardwareVersion(model) << "\n"
         << "  serial " << brova::controller::getSerialNumber(model) << "\n";
  return kOk;
}

}  // namespace

const Command kInfo{
    .name = "info",
    .summary = "firmware, hardware and serial number of one controller",
    .help =
        "usage: brovactl info --device N | --quad N | --small N\n"
        "Prints the identity one controller reports:\n"
        "  device 5  BrovaQuad\n"
        "    Firmware Version: [1.4.2]\n"
        "    Hardware: Brova Quad, Version: 3\n"
        "    serial 42525651-00010001-00000517\n"
        "Requests only: the controller is not configured, driven or kept alive.\n"
        "Exit status: 0 done, 1 the device does not answer, 2 bad usage.\n\n"
        "  --device N         device number 1..63, model found out from the device\n"
        "  --quad N           a BrovaQuad with device number N\n"
        "  --small N          a BrovaSmall with device number N\n",
    .options = {{"--device"}, {"--quad"}, {"--small"}},
    .run = info,
};

}  // namespace brovactl
