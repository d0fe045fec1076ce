// A command costs its platform send and little more: each command, and a bare platform send of
// the very frame that command sends, as a pair ("Command/x" against "PlatformSend/x").
#include <benchmark/benchmark.h>

#include <array>
#include <cstdint>

#include "OpenControllers.h"

#if BROVA_HAL >= 2027
#include <algorithm>

#include "wpi/hal/CAN.h"
#else
#include "hal/CAN.h"
#endif

namespace brova::bench {
namespace {

struct CommandCase {
  const char* name;
  void (*command)(const OpenControllers& open);
  uint32_t id;
  std::array<uint8_t, 8> frame;
};

const CommandCase kCommands[] = {
    {"quad setMotorSpeed",
     [](const OpenControllers& o) { c_BrovaQuad_setMotorSpeed(o.quad, 1, 0.5); },
     0x020C0380 + kQuadDevice,
     {1, 50, 1, 0, 0, 0, 0, 0}},
    {"quad disableMotor",
     [](const OpenControllers& o) { c_BrovaQuad_disableMotor(o.quad, 1); },
     0x020C0340 + kQuadDevice,
     {1, 0, 0, 0, 0, 0, 0, 0}},
    {"quad configureMotor",
     [](const OpenControllers& o) { c_BrovaQuad_configureMotor(o.quad, 1000, 1); },
     0x020C0280 + kQuadDevice,
     {1, 0xE8, 0x03, 0, 0, 0, 0, 0}},
    {"quad resetEncoder",
     [](const OpenControllers& o) { c_BrovaQuadEncoder_resetEncoder(o.quad, 1); },
     0x020C04C0 + kQuadDevice,
     {1, 0, 0, 0, 0, 0, 0, 0}},
    {"small setMotorSpeed",
     [](const OpenControllers& o) { c_BrovaSmall_setMotorSpeed(o.small, 0.5); },
     0x020C0380 + kSmallDevice,
     {0, 50, 1, 0, 0, 0, 0, 0}},
    {"small disableMotor",
     [](const OpenControllers& o) { c_BrovaSmall_disableMotor(o.small); },
     0x020C0340 + kSmallDevice,
     {}},
    {"small configureMotor",
     [](const OpenControllers& o) { c_BrovaSmall_configureMotor(o.small, 1000); },
     0x020C0280 + kSmallDevice,
     {0, 0xE8, 0x03, 0, 0, 0, 0, 0}},
    {"small resetEncoder",
     [](const OpenControllers& o) { c_BrovaSmallEncoder_resetEncoder(o.small); },
     0x020C04C0 + kSmallDevice,
     {}},
};

void command(benchmark::State& state, const CommandCase* c) {
  OpenControllers open;
  for (auto _ : state) c->command(open);
}

void platformSend(benchmark::State& state, const CommandCase* c) {
  OpenControllers open;
  for (auto _ : state) {
    int32_t status = 0;
#if BROVA_HAL >= 2027
    HAL_CANMessage message{};
    message.dataSize = 8;
    std::copy(c->frame.begin(), c->frame.end(), message.data);
    HAL_CAN_SendMessage(0, c->id, &message, 0, &status);
#else
    HAL_CAN_SendMessage(c->id, c->frame.data(), 8, 0, &status);
#endif
    benchmark::DoNotOptimize(status);
  }
}

// A call that does nothing: the floor under any entry point, and the C side of the JNI
// crossing benchmark.
void noOp(benchmark::State& state) {
  OpenControllers open;
  for (auto _ : state) benchmark::DoNotOptimize(c_BrovaQuad_getFaults(open.quad, 1));
}

[[maybe_unused]] const bool registered = [] {
  for (const CommandCase& c : kCommands) {
    benchmark::RegisterBenchmark((std::string("PlatformSend/") + c.name).c_str(), platformSend, &c);
    benchmark::RegisterBenchmark((std::string("Command/") + c.name).c_str(), command, &c);
  }
  benchmark::RegisterBenchmark("NoOp/quad getFaults", noOp);
  return true;
}();

}  // namespace
}  // namespace brova::bench
