// brova-devsim's command line.
#pragma once

#include <chrono>
#include <optional>
#include <string>
#include <vector>

namespace devsim {

inline constexpr const char* kUsage =
    "usage: brova-devsim (--can IFACE | --bus N) [--quad N]... [--small N]... [--latency-ms MS]\n"
    "Runs simulated BrovaQuad and BrovaSmall controllers on a SocketCAN interface, as their own\n"
    "process: they hear the requests and commands on the bus, follow the keep-alive frames and\n"
    "answer as the real controllers do, after the reply latency.\n"
    "\n"
    "  --can IFACE        the CAN interface (vcan0, can0, ...)\n"
    "  --bus N            the interface of bus N (0..24), as a robot program on the SocketCAN\n"
    "                     platform finds it: the N-th entry of BROVA_CAN_INTERFACES (bus 0:\n"
    "                     else BROVA_CAN_INTERFACE, else can0); --can wins\n"
    "  --quad N           a BrovaQuad with device number N (1..63); repeatable\n"
    "  --small N          a BrovaSmall with device number N (1..63); repeatable\n"
    "  --latency-ms MS    from hearing a request to answering it, 0..1000 (default 2)\n"
    "  -h, --help         this text\n"
    "\n"
    "Prints one line when the controllers are on the bus, then runs until SIGINT or SIGTERM.\n"
    "BROVA_CAN_CAPTURE=FILE writes every frame heard and answered to FILE (candump log format).\n"
    "Exit status: 0 stopped by a signal, 1 the interface cannot be opened, 2 bad usage.\n";

struct Options {
  std::string interface;
  // The bus whose interface `interface` is, when --bus chose it.
  std::optional<int> bus;
  std::vector<int> quads;
  std::vector<int> smalls;
  std::chrono::microseconds replyLatency{2000};
};

// What the command line asks for: help, an error (the text names the bad argument), or a run.
struct Parsed {
  bool help = false;
  std::string error;
  Options options;
};

// `busInterfaces` are the buses' interfaces, bus 0 first, as the environment names them
// (brovasocketcan::busInterfacesFromEnvironment; empty: the bus has none).
Parsed parseOptions(const std::vector<std::string>& arguments,
                    const std::vector<std::string>& busInterfaces);

}  // namespace devsim
