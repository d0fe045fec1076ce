#include "Brovactl.h"

#include <algorithm>
#include <array>

#include "Backend.h"
#include "Commands.h"
#include "StopRequest.h"

namespace brovactl {
namespace {

const std::array<const Command*, 5> kCommands{&kScan, &kInfo, &kWatch, &kSpin, &kDump};

void printUsage(std::ostream& out) {
  out << "usage: brovactl <command> [options]\n"
      << "Bench checks of BrovaQuad and BrovaSmall controllers through BrovaDriver, on the\n"
      << kBackendName << ".\n\ncommands:\n";
  for (const Command* command : kCommands) {
    out << "  " << command->name << std::string(8 - command->name.size(), ' ') << command->summary
        << "\n";
  }
  out << "\nscan, info, watch and dump only send requests: they never configure, drive or keep\n"
         "alive a controller. \"brovactl <command> --help\" lists a command's options.\n"
         "Exit status: 0 done, 1 nothing answered or the operation failed, 2 bad usage.\n";
}

// Lets go of the bus however the command ends.
struct BusGuard {
  ~BusGuard() { closeBus(); }
};

}  // namespace

bool Io::openBus() const { return brovactl::openBus(arguments, err); }

int runBrovactl(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err) {
  clearStopRequest();
  if (arguments.empty()) {
    printUsage(err);
    return kBadUsage;
  }
  const std::string& name = arguments.front();
  if (name == "-h" || name == "--help" || name == "help") {
    printUsage(out);
    return kOk;
  }
  const auto found = std::find_if(kCommands.begin(), kCommands.end(),
                                  [&](const Command* c) { return c->name == name; });
  if (found == kCommands.end()) {
    err << "brovactl: unknown command '" << name << "'\n\n";
    printUsage(err);
    return kBadUsage;
  }
  const Command& command = **found;
  std::vector<OptionSpec> accepted = command.options;
  accepted.push_back(kBusOption);
  accepted.push_back(kCanBusOption);
  try {
    const Arguments parsed({arguments.begin() + 1, arguments.end()}, accepted);
    if (parsed.help()) {
      out << command.help << kBusOptionHelp << kCanBusOptionHelp
          << "  -h, --help         this text\n";
      return kOk;
    }
    const BusGuard guard;
    return command.run(Io{out, err, parsed});
  } catch (const UsageError& error) {
    err << "brovactl " << name << ": " << error.what() << "\n"
        << "(\"brovactl " << name << " --help\" lists its options)\n";
    return kBadUsage;
  }
}

}  // namespace brovactl
