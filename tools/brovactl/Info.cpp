// info: the identity of one controller (firmware, hardware, serial number).
#include "Backend.h"
#include "Commands.h"

namespace brovactl {
namespace {

int info(const Io& io) {
  Target target = targetOf(io.arguments, true);
  if (!io.openBus()) return kFailed;

  brova::tools::DeviceQuestions device(target.device, busOf(io.arguments));
  if (!device.askDeviceId(brova::tools::slowestReplyPause())) {
    io.err << "brovactl info: device " << target.device << " does not answer\n";
    return kFailed;
  }
  if (!target.model) {
    const auto hardware = device.askHardware();
    if (hardware) target.model = hardware->model;
  }
  // A device of neither model is asked as a BrovaQuad, which names what it does not know.
  const Model model = target.model.value_or(Model::Quad);
  io.out << "device " << target.device << "  " << nameOf(target.model) << "\n"
         << "  " << device.firmwareVersion(model) << "\n"
         << "  " << device.hardwareVersion(model) << "\n"
         << "  serial " << device.serialNumber(model) << "\n";
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
