// The simulation objects of the controllers and the board: reads and writes of their simulated
// devices' values (controller/Simulated.h, analog/Ferux.h).
#include "objects/Simulated.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <memory>
#include <stdexcept>
#include <string>

#include "analog/Ferux.h"
#include "brova/detail/Checks.hpp"
#include "brova/detail/SimulatedController.hpp"
#include "brova/sim/BrovaQuadSim.hpp"
#include "brova/sim/BrovaSmallSim.hpp"
#include "brova/sim/FeruxSim.hpp"
#include "objects/FeruxOpen.h"
#include "objects/Open.h"

namespace brova {
namespace detail {
namespace simulated {
namespace {

using controller::simulated::enabledValue;
using controller::simulated::temperatureValue;
using controller::simulated::valueOf;

void checkNumber(double value) { check(!std::isnan(value), "a simulated value must be a number"); }

const devices::Device& open(const devices::Device& device) {
  if (!device.isOpen()) throw std::logic_error(device.name() + " is closed");
  return device;
}

std::size_t indexOf(const devices::Device& device, int channel, Quantity quantity) {
  const int channels = device.channels();
  if (channel < 0 || channel >= channels) {
    checkRange(channel, 0, channels - 1, kindName(device.kind()) + " channel");
  }
  return valueOf(channel, quantity);
}

void checkOpen(const devices::AnalogBoard& board, int input) {
  checkRange(input, 0, Ferux::kChannels - 1, "analog channel");
  if (!board.isOpen()) throw std::logic_error(devices::AnalogBoard::name() + " is closed");
}

}  // namespace

double value(const devices::Device& device, int channel, Quantity quantity) {
  const std::size_t index = indexOf(device, channel, quantity);
  return open(device).simulatedValue(index);
}

void setValue(const devices::Device& device, int channel, Quantity quantity, double value) {
  checkNumber(value);
  const std::size_t index = indexOf(device, channel, quantity);
  open(device).setSimulatedValue(index,
                                 quantity == Quantity::Load ? std::clamp(value, 0.0, 1.0) : value);
}

bool enabled(const devices::Device& device) {
  return open(device).simulatedValue(enabledValue(device.channels())) != 0.0;
}

double temperature(const devices::Device& device) {
  return open(device).simulatedValue(temperatureValue(device.channels()));
}

void setTemperature(const devices::Device& device, double celsius) {
  checkNumber(celsius);
  open(device).setSimulatedValue(temperatureValue(device.channels()), celsius);
}

double voltage(const devices::AnalogBoard& board, int input) {
  checkOpen(board, input);
  return analog::simulatedVoltage(input);
}

void setVoltage(const devices::AnalogBoard& board, int input, double volts) {
  checkNumber(volts);
  checkOpen(board, input);
  analog::setSimulatedVoltage(input, volts);
}

}  // namespace simulated

struct SimulatedController::Held {
  std::shared_ptr<devices::Device> device;
};

SimulatedController::SimulatedController(const ControllerObject& object)
    : held_(std::make_shared<Held>(Held{object.open().device})) {}

double SimulatedController::appliedOutput(int channel) const {
  return simulated::value(*held_->device, channel, simulated::Quantity::Output);
}
bool SimulatedController::enabled() const { return simulated::enabled(*held_->device); }
double SimulatedController::current(int channel) const {
  return simulated::value(*held_->device, channel, simulated::Quantity::Current);
}
double SimulatedController::rpm(int channel) const {
  return simulated::value(*held_->device, channel, simulated::Quantity::Rpm);
}
int32_t SimulatedController::encoderCount(int channel) const {
  return static_cast<int32_t>(
      simulated::value(*held_->device, channel, simulated::Quantity::Encoder));
}
double SimulatedController::temperature() const { return simulated::temperature(*held_->device); }
void SimulatedController::setLoad(int channel, double fraction) {
  simulated::setValue(*held_->device, channel, simulated::Quantity::Load, fraction);
}
void SimulatedController::setCurrent(int channel, double amperes) {
  simulated::setValue(*held_->device, channel, simulated::Quantity::Current, amperes);
}
void SimulatedController::setRpm(int channel, double rpm) {
  simulated::setValue(*held_->device, channel, simulated::Quantity::Rpm, rpm);
}
void SimulatedController::setEncoderCount(int channel, int32_t count) {
  simulated::setValue(*held_->device, channel, simulated::Quantity::Encoder, count);
}
void SimulatedController::setTemperature(double celsius) {
  simulated::setTemperature(*held_->device, celsius);
}

}  // namespace detail

namespace sim {

BrovaQuadSim::BrovaQuadSim(const BrovaQuad& quad) : SimulatedController(quad) {}
double BrovaQuadSim::getAppliedOutput(int channel) const { return appliedOutput(channel); }
bool BrovaQuadSim::isEnabled() const { return enabled(); }
double BrovaQuadSim::getCurrent(int channel) const { return current(channel); }
double BrovaQuadSim::getRPM(int channel) const { return rpm(channel); }
int32_t BrovaQuadSim::getEncoderCount(int channel) const { return encoderCount(channel); }
double BrovaQuadSim::getTemperature() const { return temperature(); }
void BrovaQuadSim::setLoad(int channel, double fraction) {
  SimulatedController::setLoad(channel, fraction);
}
void BrovaQuadSim::setCurrent(int channel, double amperes) {
  SimulatedController::setCurrent(channel, amperes);
}
void BrovaQuadSim::setRPM(int channel, double rpm) { setRpm(channel, rpm); }
void BrovaQuadSim::setEncoderCount(int channel, int32_t count) {
  SimulatedController::setEncoderCount(channel, count);
}
void BrovaQuadSim::setTemperature(double celsius) { SimulatedController::setTemperature(celsius); }

BrovaSmallSim::BrovaSmallSim(const BrovaSmall& small) : SimulatedController(small) {}
double BrovaSmallSim::getAppliedOutput() const { return appliedOutput(0); }
bool BrovaSmallSim::isEnabled() const { return enabled(); }
double BrovaSmallSim::getCurrent() const { return current(0); }
double BrovaSmallSim::getRPM() const { return rpm(0); }
int32_t BrovaSmallSim::getEncoderCount() const { return encoderCount(0); }
double BrovaSmallSim::getTemperature() const { return temperature(); }
void BrovaSmallSim::setLoad(double fraction) { SimulatedController::setLoad(0, fraction); }
void BrovaSmallSim::setCurrent(double amperes) { SimulatedController::setCurrent(0, amperes); }
void BrovaSmallSim::setRPM(double rpm) { setRpm(0, rpm); }
void BrovaSmallSim::setEncoderCount(int32_t count) {
  SimulatedController::setEncoderCount(0, count);
}
void BrovaSmallSim::setTemperature(double celsius) { SimulatedController::setTemperature(celsius); }

struct FeruxSim::Held {
  std::shared_ptr<devices::AnalogBoard> board;
};

FeruxSim::FeruxSim(const Ferux& board) : held_(std::make_shared<Held>(Held{board.open().board})) {}

void FeruxSim::setVoltage(int input, double volts) {
  detail::simulated::setVoltage(*held_->board, input, volts);
}

double FeruxSim::getVoltage(int input) const {
  return detail::simulated::voltage(*held_->board, input);
}

}  // namespace sim
}  // namespace brova
