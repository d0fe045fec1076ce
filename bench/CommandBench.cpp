// A command costs its platform send and little more: each command against a bare send of the
// same frame.
#include <benchmark/benchmark.h>

#include <cstdint>

#include "BrovaDriver.h"
#include "brovasim/SimCan.h"
#include "hal/CAN.h"

namespace {

// An open controller of each model on a bus that does not record (the bench sends millions).
struct OpenControllers {
  OpenControllers() {
    brovasim::can::reset();
    brovasim::can::setRecording(false);
    quad = c_BrovaQuad_create(5, 1000, nullptr, 0);
    small = c_BrovaSmall_create(7, 1000, nullptr);
  }
  ~OpenControllers() {
    c_BrovaQuad_destroy(quad);
    c_BrovaSmall_destroy(small);
  }
  int32_t quad = 0;
  int32_t small = 0;
};

void BM_PlatformSend(benchmark::State& state) {
  OpenControllers open;
  const uint8_t payload[8] = {1, 50, 1, 0, 0, 0, 0, 0};
  for (auto _ : state) {
    int32_t status = 0;
    HAL_CAN_SendMessage(0x020C0385, payload, 8, 0, &status);
    benchmark::DoNotOptimize(status);
  }
}
BENCHMARK(BM_PlatformSend);

void BM_QuadSetMotorSpeed(benchmark::State& state) {
  OpenControllers open;
  for (auto _ : state) c_BrovaQuad_setMotorSpeed(open.quad, 1, 0.5);
}
BENCHMARK(BM_QuadSetMotorSpeed);

void BM_SmallSetMotorSpeed(benchmark::State& state) {
  OpenControllers open;
  for (auto _ : state) c_BrovaSmall_setMotorSpeed(open.small, 0.5);
}
BENCHMARK(BM_SmallSetMotorSpeed);

// A call that does nothing: the floor under any entry point.
void BM_QuadGetFaults(benchmark::State& state) {
  OpenControllers open;
  for (auto _ : state) benchmark::DoNotOptimize(c_BrovaQuad_getFaults(open.quad, 1));
}
BENCHMARK(BM_QuadGetFaults);

void BM_QuadDisableMotor(benchmark::State& state) {
  OpenControllers open;
  for (auto _ : state) c_BrovaQuad_disableMotor(open.quad, 1);
}
BENCHMARK(BM_QuadDisableMotor);

void BM_QuadConfigureMotor(benchmark::State& state) {
  OpenControllers open;
  for (auto _ : state) c_BrovaQuad_configureMotor(open.quad, 1000, 1);
}
BENCHMARK(BM_QuadConfigureMotor);

void BM_QuadResetEncoder(benchmark::State& state) {
  OpenControllers open;
  for (auto _ : state) c_BrovaQuadEncoder_resetEncoder(open.quad, 1);
}
BENCHMARK(BM_QuadResetEncoder);

}  // namespace
