#include "brovasocketcan/BusInterfaces.h"

#include <cstdlib>
#include <string_view>

namespace brovasocketcan {

namespace {

std::string_view trimmed(std::string_view text) {
  constexpr std::string_view kSpace = " \t\n\r\f\v";
  const size_t first = text.find_first_not_of(kSpace);
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(kSpace) - first + 1);
}

}  // namespace

BusInterfaces parseBusInterfaces(const char* interfaces, const char* interface) {
  const bool interfaceSet = interface != nullptr && *interface != '\0';
  BusInterfaces result;
  for (std::string_view rest = interfaces != nullptr ? interfaces : ""; !rest.empty();) {
    const size_t comma = rest.find(',');
    result.names.emplace_back(trimmed(rest.substr(0, comma)));
    rest = comma == std::string_view::npos ? std::string_view() : rest.substr(comma + 1);
  }
  // Buses past the end have no interface either.
  while (!result.names.empty() && result.names.back().empty()) result.names.pop_back();
  if (result.names.empty()) result.names.emplace_back();
  std::string& busZero = result.names.front();
  if (busZero.empty()) {
    busZero = interfaceSet ? interface : kDefaultInterface;
  } else if (interfaceSet && busZero != interface) {
    result.disagreement = std::string(kInterfacesVariable) + " puts bus 0 on " + busZero + ", " +
                          kInterfaceVariable + " on " + interface + "; bus 0 is on " + busZero;
  }
  return result;
}

BusInterfaces busInterfacesFromEnvironment() {
  return parseBusInterfaces(std::getenv(kInterfacesVariable), std::getenv(kInterfaceVariable));
}

}  // namespace brovasocketcan
