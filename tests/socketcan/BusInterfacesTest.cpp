// Which interface each bus is on, from BROVA_CAN_INTERFACES and BROVA_CAN_INTERFACE.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "brovasocketcan/BusInterfaces.h"

namespace brovasocketcan {
namespace {

TEST(BusInterfaces, FromTheTwoVariables) {
  const struct {
    const char* name;
    const char* interfaces;  // BROVA_CAN_INTERFACES; null: unset
    const char* interface;   // BROVA_CAN_INTERFACE; null: unset
    std::vector<std::string> names;
    const char* disagreement;  // a part of the line; null: none
  } rows[] = {
      {"neither set", nullptr, nullptr, {"can0"}, nullptr},
      {"only the one interface", nullptr, "vcan0", {"vcan0"}, nullptr},
      {"an empty one interface is unset", nullptr, "", {"can0"}, nullptr},
      {"one entry", "vcan1", nullptr, {"vcan1"}, nullptr},
      {"several, bus 0 first", "vcan0,vcan1,vcan2", nullptr, {"vcan0", "vcan1", "vcan2"}, nullptr},
      {"whitespace around entries", " vcan0 ,\tvcan1 ", nullptr, {"vcan0", "vcan1"}, nullptr},
      {"an empty entry leaves its bus without",
       "vcan0,,vcan2,",
       nullptr,
       {"vcan0", "", "vcan2"},
       nullptr},
      {"an empty first entry is the one interface",
       " ,vcan1",
       "vcan7",
       {"vcan7", "vcan1"},
       nullptr},
      {"an empty first entry and nothing else is can0",
       ",vcan1",
       nullptr,
       {"can0", "vcan1"},
       nullptr},
      {"an empty list", "", "vcan7", {"vcan7"}, nullptr},
      {"only separators", " , ,", nullptr, {"can0"}, nullptr},
      {"both set and agreeing", "vcan0,vcan1", "vcan0", {"vcan0", "vcan1"}, nullptr},
      {"both set and disagreeing: the list wins",
       "vcan1,vcan2",
       "vcan0",
       {"vcan1", "vcan2"},
       "BROVA_CAN_INTERFACES puts bus 0 on vcan1, BROVA_CAN_INTERFACE on vcan0; bus 0 is on "
       "vcan1"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    const BusInterfaces parsed = parseBusInterfaces(row.interfaces, row.interface);
    EXPECT_EQ(parsed.names, row.names);
    EXPECT_EQ(parsed.disagreement, row.disagreement != nullptr ? row.disagreement : "");
  }
}

}  // namespace
}  // namespace brovasocketcan
