// brovactl's commands: each one a name, its help, the options it accepts and what it does.
#pragma once

#include <ostream>
#include <string_view>
#include <vector>

#include "Arguments.h"

namespace brovactl {

inline constexpr int kOk = 0;
inline constexpr int kFailed = 1;  // nothing answered, or the operation failed
inline constexpr int kBadUsage = 2;

// What a command writes to, and the bus it opens once its options are known to be good, so that
// a usage error never waits for an interface.
struct Io {
  std::ostream& out;
  std::ostream& err;
  const Arguments& arguments;
  bool openBus() const;
};

struct Command {
  std::string_view name;
  std::string_view summary;  // one line for the top-level help
  std::string_view help;     // usage and options, without the bus option
  std::vector<OptionSpec> options;
  int (*run)(const Io& io);
};

extern const Command kScan;
extern const Command kInfo;
extern const Command kWatch;
extern const Command kSpin;
extern const Command kDump;

}  // namespace brovactl
