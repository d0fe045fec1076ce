// What a frame on the bus means, in the library's own message names:
//   dev 5  set motor speed  motor 1  +50%
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace brova::tools {

// Describes one frame. Frames that are not the controllers' messages read "other <id>#<bytes>".
std::string describeFrame(uint32_t id, const std::vector<uint8_t>& data);

}  // namespace brova::tools
