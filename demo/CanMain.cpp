// brova-demo-can: the demo robot program driving two BrovaQuads and a BrovaSmall on a SocketCAN
// interface; the controllers are whatever answers on that bus (real ones, or brova-devsim).
#include <chrono>
#include <cstdio>
#include <cstdlib>

#include "Arguments.h"
#include "RobotProgram.h"
#include "brovasocketcan/SocketCan.h"

namespace {

constexpr const char* kUsage =
    "usage: brova-demo-can [options]\n"
    "Runs the demo robot program against two BrovaQuads (the drivetrain) and a BrovaSmall on a\n"
    "SocketCAN interface: prints their identity, enables the robot, drives a speed profile in a\n"
    "20 ms loop and prints each device's readings, their state and age, a few times a second.\n"
    "Simulated controllers on the bus: brova-devsim --can IFACE --quad 5 --quad 6 --small 7\n"
    "\n"
    "  --can IFACE      the CAN interface (default: $BROVA_CAN_INTERFACE, else can0)\n"
    "  --seconds S      how long to drive (default 5)\n"
    "  --left N         left BrovaQuad device number, 1..63 (default 5)\n"
    "  --right N        right BrovaQuad device number, 1..63 (default 6)\n"
    "  --small N        BrovaSmall device number, 1..63 (default 7)\n"
    "  -h, --help       this text\n"
    "\n"
    "The robot is enabled for the driving time plus one second, and disabled when it ends.\n"
    "Exit status: 0 done, 1 the controllers could not be opened, 2 bad usage.\n";

// The enable lasts the drive and a margin, and lapses by itself if the program hangs.
constexpr std::chrono::milliseconds kEnableMargin{1000};

}  // namespace

int main(int argc, char** argv) {
  demo::RobotSettings settings;
  const demo::ExtraOption canOption{"--can", [](const char* name) {
                                      brovasocketcan::setInterface(name);
                                      return true;
                                    }};
  if (const auto exit =
          demo::readCommandLine(argc, argv, "brova-demo-can", kUsage, settings, canOption)) {
    return *exit;
  }
  if (!brovasocketcan::open()) return 1;

  std::printf(
      "BrovaDriver demo on %s: BrovaQuads on devices %d (left) and %d (right), BrovaSmall on "
      "device %d\n",
      brovasocketcan::interfaceName().c_str(), settings.leftDevice, settings.rightDevice,
      settings.smallDevice);
  const auto enableTime = std::chrono::duration_cast<std::chrono::milliseconds>(
                              std::chrono::duration<double>(settings.seconds)) +
                          kEnableMargin;
  return demo::runRobot(settings, [enableTime](bool enabled) {
    if (enabled) {
      brovasocketcan::enableFor(enableTime);
    } else {
      brovasocketcan::disable();
    }
  });
}
