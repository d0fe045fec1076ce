#include "Arguments.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdlib>

namespace brovactl {
namespace {

std::string range(double low, double high) {
  auto shown = [](double v) {
    std::string s = std::to_string(v);
    s.erase(s.find_last_not_of('0') + 1);
    if (s.back() == '.') s.pop_back();
    return s;
  };
  return shown(low) + ".." + shown(high);
}

}  // namespace

Arguments::Arguments(const std::vector<std::string>& arguments,
                     const std::vector<OptionSpec>& accepted) {
  for (size_t i = 0; i < arguments.size(); ++i) {
    const std::string& arg = arguments[i];
    if (arg == "-h" || arg == "--help") {
      help_ = true;
      continue;
    }
    const auto option = std::find_if(accepted.begin(), accepted.end(),
                                     [&](const OptionSpec& s) { return s.name == arg; });
    if (option == accepted.end()) {
      throw UsageError(arg.starts_with("-") ? "unknown option " + arg
                                            : "unexpected argument '" + arg + "'");
    }
    if (values_.contains(arg)) throw UsageError(arg + " given twice");
    if (!option->takesValue) {
      values_[arg] = "";
      continue;
    }
    if (i + 1 >= arguments.size()) throw UsageError(arg + " needs a value");
    values_[arg] = arguments[++i];
  }
}

bool Arguments::has(std::string_view name) const { return values_.find(name) != values_.end(); }

std::optional<std::string> Arguments::text(std::string_view name) const {
  const auto found = values_.find(name);
  if (found == values_.end()) return std::nullopt;
  return found->second;
}

int wholeNumber(std::string_view what, const std::string& text, int low, int high) {
  errno = 0;
  char* end = nullptr;
  const long parsed = std::strtol(text.c_str(), &end, 10);
  if (text.empty() || *end != '\0' || errno != 0 || parsed < low || parsed > high) {
    throw UsageError(std::string(what) + " must be a whole number in " + range(low, high) +
                     ", not '" + text + "'");
  }
  return static_cast<int>(parsed);
}

std::optional<int> Arguments::integer(std::string_view name, int low, int high) const {
  const auto value = text(name);
  if (!value) return std::nullopt;
  return wholeNumber(name, *value, low, high);
}

std::optional<double> Arguments::number(std::string_view name, double low, double high) const {
  const auto value = text(name);
  if (!value) return std::nullopt;
  char* end = nullptr;
  const double parsed = std::strtod(value->c_str(), &end);
  if (value->empty() || *end != '\0' || !std::isfinite(parsed) || parsed < low || parsed > high) {
    throw UsageError(std::string(name) + " must be a number in " + range(low, high) + ", not '" +
                     *value + "'");
  }
  return parsed;
}

Target targetOf(const Arguments& arguments, bool anyModel) {
  const int given =
      arguments.has("--quad") + arguments.has("--small") + (anyModel && arguments.has("--device"));
  const std::string choices =
      anyModel ? "--device N, --quad N or --small N" : "--quad N or --small N";
  if (given != 1) throw UsageError("give exactly one of " + choices);
  const auto device = [&](std::string_view name) {
    return arguments.integer(name, brova::kLowestDeviceNumber, brova::kHighestDeviceNumber);
  };
  if (auto n = device("--quad")) return {Model::Quad, *n};
  if (auto n = device("--small")) return {Model::Small, *n};
  return {std::nullopt, *device("--device")};
}

int busOf(const Arguments& arguments) {
  return arguments.integer(kCanBusOption.name, 0, brova::tools::busCount() - 1).value_or(0);
}

const char* nameOf(const std::optional<Model>& model) {
  return model ? brova::tools::nameOf(*model) : "unknown model";
}

}  // namespace brovactl
