// The four-channel controller: its description and its operations.
#include "BrovaDriver.h"
#include "controller/Lifecycle.h"

namespace brova::controller {
namespace {

constinit ModelState quadState;

}  // namespace

constexpr Model kBrovaQuad{
    .state = quadState,
    .replyPause = 0.01,
    .greeting = {},
};

}  // namespace brova::controller

using brova::controller::kBrovaQuad;

extern "C" {

int32_t c_BrovaQuad_create(int16_t deviceNumber, int16_t frequency, bool* flag, uint8_t motor) {
  return brova::controller::create(kBrovaQuad, deviceNumber, frequency, flag, motor);
}

void c_BrovaQuad_destroy(int32_t handle) { brova::controller::destroy(kBrovaQuad, handle); }

}  // extern "C"
