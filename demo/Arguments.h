// The demo programs' command line: the robot program's options (--seconds S, --left N,
// --right N, --small N), -h/--help, and one option of the program's own that takes a value.
#pragma once

#include <functional>
#include <optional>

#include "RobotProgram.h"

namespace demo {

// A program's own option, such as "--capture FILE", and what to do with its value: false for a
// value it refuses.
struct ExtraOption {
  const char* name;
  std::function<bool(const char* value)> take;
};

// Reads the command line into `settings` and `extra`. Values are checked whole: "12x" or an
// out-of-range number is refused rather than read in part, and so are two controllers on one
// device number. Returns the exit status when the
// program should stop at once: 0 after printing `usage` for -h or --help, 2 after a usage error
// ("<program>: ..." and the usage, on standard error). Returns nothing when the program should run.
std::optional<int> readCommandLine(int argc, char** argv, const char* program, const char* usage,
                                   RobotSettings& settings, const ExtraOption& extra);

}  // namespace demo
