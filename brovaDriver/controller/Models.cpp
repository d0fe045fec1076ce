#include "controller/Models.h"

#include "common/Console.h"

namespace brova::controller {
namespace {

constinit ModelState quadState;
constinit ModelState smallState;

constexpr Model kBrovaQuad{
    .state = quadState,
    .name = "BrovaQuad",
    .channels = 4,
    .replyPause = 0.01,
    .greeting = {},
    .missingLinesNameChannel = true,
    .currentByte1Divisor = 100.0,
    .unknownHardware = UnknownHardware::NoHardwareFound,
};

constexpr Model kBrovaSmall{
    .state = smallState,
    .name = "BrovaSmall",
    .channels = 1,
    .replyPause = 0.1,
    .greeting = console::kGreeting,
    .missingLinesNameChannel = false,
    .currentByte1Divisor = 1.0,
    .unknownHardware = UnknownHardware::ReadAsSmall,
};

}  // namespace

const Model& brovaQuadModel() { return kBrovaQuad; }
const Model& brovaSmallModel() { return kBrovaSmall; }

}  // namespace brova::controller
