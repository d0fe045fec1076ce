// The single-channel controller: its description and its operations. Its frames carry 0 where
// the four-channel controller carries a motor number.
#include "BrovaDriver.h"
#include "can/Console.h"
#include "controller/Lifecycle.h"

namespace brova::controller {
namespace {

constinit ModelState smallState;
constexpr uint8_t kOnlyMotor = 0;

}  // namespace

constexpr Model kBrovaSmall{
    .state = smallState,
    .replyPause = 0.1,
    .greeting = console::kGreeting,
};

}  // namespace brova::controller

using brova::controller::kBrovaSmall;

extern "C" {

int32_t c_BrovaSmall_create(int16_t deviceNumber, int16_t frequency, bool* flag) {
  return brova::controller::create(kBrovaSmall, deviceNumber, frequency, flag,
                                   brova::controller::kOnlyMotor);
}

void c_BrovaSmall_destroy(int32_t handle) { brova::controller::destroy(kBrovaSmall, handle); }

}  // extern "C"
