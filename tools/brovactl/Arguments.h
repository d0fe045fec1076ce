// A command's options: which ones it accepts, what was given, and the checks that turn a bad
// value into a usage error naming the option.
#pragma once

#include <map>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "BrovaTools.h"

namespace brovactl {

// A command line that cannot run; the text says which option and why.
class UsageError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

struct OptionSpec {
  std::string_view name;  // with its dashes: "--quad"
  bool takesValue = true;
};

// The option every command accepts: the CAN bus id, 0 without it.
inline constexpr OptionSpec kCanBusOption{"--bus"};
inline constexpr std::string_view kCanBusOptionHelp =
    "  --bus N            the CAN bus id (default 0; the 2026 HAL has bus 0 only)\n";

// `text` read as a whole number in low..high; throws UsageError naming `what` otherwise.
int wholeNumber(std::string_view what, const std::string& text, int low, int high);

class Arguments {
 public:
  // Parses the arguments after the command's name against `accepted`; "-h" and "--help" are
  // always accepted. Throws UsageError for an unknown option, a missing value, an option given
  // twice or a stray argument.
  Arguments(const std::vector<std::string>& arguments, const std::vector<OptionSpec>& accepted);

  bool help() const { return help_; }
  bool has(std::string_view name) const;
  std::optional<std::string> text(std::string_view name) const;
  // A whole number in low..high; throws UsageError otherwise.
  std::optional<int> integer(std::string_view name, int low, int high) const;
  // A finite number in low..high; throws UsageError otherwise.
  std::optional<double> number(std::string_view name, double low, double high) const;

 private:
  bool help_ = false;
  std::map<std::string, std::string, std::less<>> values_;
};

using brova::tools::Model;

// Which controller a command addresses; no model when the command line does not say it.
struct Target {
  std::optional<Model> model;
  int device = 0;
};

// The bus --bus names, 0 without it; throws UsageError for a bus this build's HAL cannot name.
int busOf(const Arguments& arguments);

// The model's name, or "unknown model".
const char* nameOf(const std::optional<Model>& model);

// Exactly one of --quad N, --small N (and --device N when `anyModel`); throws UsageError for
// none or more than one.
Target targetOf(const Arguments& arguments, bool anyModel);

}  // namespace brovactl
