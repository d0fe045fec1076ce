// Which CAN interface each bus is on, as the environment names them. Shared by the platform and
// by brova-devsim.
//
// BROVA_CAN_INTERFACES lists the interfaces by bus, bus 0 first, separated by commas:
// "can0,can1" puts bus 0 on can0 and bus 1 on can1. Whitespace around an entry is ignored, and an
// empty entry leaves its bus without an interface ("can0,,can2": bus 1 has none). Bus 0 always
// has one: when the list names none for it (unset, empty, or an empty first entry),
// BROVA_CAN_INTERFACE names it, and without that it is can0. When both name bus 0 and disagree,
// BROVA_CAN_INTERFACES wins, and one line says so.
#pragma once

#include <string>
#include <vector>

namespace brovasocketcan {

inline constexpr const char* kInterfacesVariable = "BROVA_CAN_INTERFACES";
inline constexpr const char* kInterfaceVariable = "BROVA_CAN_INTERFACE";
inline constexpr const char* kDefaultInterface = "can0";

struct BusInterfaces {
  // names[b] is bus b's interface; empty where a bus has none, and for every bus past the end.
  std::vector<std::string> names;
  // The line to print (without its newline) when the two variables disagree about bus 0; empty
  // when they do not.
  std::string disagreement;
};

// From the two variables' values; null for a variable that is not set.
BusInterfaces parseBusInterfaces(const char* interfaces, const char* interface);
// From this process's environment.
BusInterfaces busInterfacesFromEnvironment();

}  // namespace brovasocketcan
