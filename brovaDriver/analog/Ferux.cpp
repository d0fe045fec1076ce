#include "analog/Ferux.h"

#include <array>
#include <mutex>
#include <string>
#include <utility>

#include "analog/Transfers.h"
#include "common/Hal.h"
#include "common/Simulation.h"

namespace brova::analog {
namespace {

// The board among the HAL's simulated devices while its port is open: "Ferux[1]" on port 1, its
// four input voltages as inputs "voltage 0".."voltage 3". Guarded by the board's lock; never
// destroyed.
simulation::SimulatedDevice& simulated() {
  static auto* device = new simulation::SimulatedDevice;
  return *device;
}

void simulate(const Board& b) {
  if (simulated().present()) return;
  std::array<simulation::SimulatedValue, 4> inputs;
  for (int i = 0; i < 4; ++i) {
    std::string name = "voltage ";
    name += std::to_string(i);
    inputs[i] = {std::move(name), simulation::ValueType::Double, simulation::Direction::Input};
  }
  simulated() = simulation::SimulatedDevice(
      simulation::deviceName("Ferux", static_cast<int>(b.port), 0), inputs);
}

}  // namespace

bool initialize(int32_t fullScaleVoltage) {
  Board& b = board();
  std::lock_guard lock(b.lock);
  b.fullScaleVoltage = static_cast<float>(fullScaleVoltage);
  b.gainBits = kGain2048mV;
  b.dataRateBits = kRate1600;
  // The port's status is not examined: the probe tells whether the board answers.
  int32_t status = 0;
  HAL_InitializeI2C(b.port, &status);
  simulate(b);
  return probeDevice(b);
}

int32_t rawValue(uint8_t channel) {
  Board& b = board();
  std::lock_guard lock(b.lock);
  return readChannel(b, channel);
}

float voltage(uint8_t channel) {
  Board& b = board();
  std::lock_guard lock(b.lock);
  return voltsFromRaw(readChannel(b, channel), b.fullScaleVoltage);
}

Conversion conversion(uint8_t channel) {
  Board& b = board();
  std::lock_guard lock(b.lock);
  return convert(b, channel);
}

double simulatedVoltage(int channel) {
  std::lock_guard lock(board().lock);
  return simulated().get(static_cast<std::size_t>(channel));
}

void setSimulatedVoltage(int channel, double volts) {
  std::lock_guard lock(board().lock);
  simulated().set(static_cast<std::size_t>(channel), volts);
}

void close() {
  Board& b = board();
  std::lock_guard lock(b.lock);
  simulated() = {};
  HAL_CloseI2C(b.port);
}

}  // namespace brova::analog
