// The simulation objects of the controllers and the board: reads and writes of their simulated
// devices' values (controller/Simulated.h, analog/Ferux.h).
#include "controller/Simulated.h"

#include <cmath>
#include <limits>
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

using controller::simulated::Quantity;
using controller::simulated::valueOf;

struct SimulatedController::Held {
  std::shared_ptr<devices::Device> device;

  const devices::Device& open() const {
    if (!device->isOpen()) throw std::logic_error(device->name() + " is closed");
    return *device;
  }
  std::size_t channel(int channel, Quantity quantity) const {
    const int channels = device->channels();
    if (channel < 0 || channel >= channels) {
      checkRange(channel, 0, channels - 1, kindName(device->kind()) + " channel");
    }
    return valueOf(channel, quantity);
  }
  double get(int channel, Quantity quantity) const {
    const std::size_t index = this->channel(channel, quantity);
    return open().simulatedValue(index);
  }
  void set(int channel, Quantity quantity, double value) const {
    check(!std::isnan(value), "a simulated value must be a number");
    const std::size_t index = this->channel(channel, quantity);
    open().setSimulatedValue(index, value);
  }
};

SimulatedController::SimulatedController(const ControllerObject& object)
    : held_(std::make_shared<Held>(Held{object.open().device})) {}

double SimulatedController::appliedOutput(int channel) const {
  return held_->get(channel, Quantity::Output);
}
bool SimulatedController::enabled() const {
  const int channels = held_->open().channels();
  return held_->open().simulatedValue(controller::simulated::enabledValue(channels)) != 0.0;
}
double SimulatedController::current(int channel) const {
  return held_->get(channel, Quantity::Current);
}
double SimulatedController::rpm(int channel) const { return held_->get(channel, Quantity::Rpm); }
int32_t SimulatedController::encoderCount(int channel) const {
  return static_cast<int32_t>(held_->get(channel, Quantity::Encoder));
}
double SimulatedController::temperature() const {
  const int channels = held_->open().channels();
  return held_->open().simulatedValue(controller::simulated::temperatureValue(channels));
}
void SimulatedController::setLoad(int channel, double fraction) {
  check(!std::isnan(fraction), "a simulated value must be a number");
  held_->set(channel, Quantity::Load, std::clamp(fraction, 0.0, 1.0));
}
void SimulatedController::setCurrent(int channel, double amperes) {
  held_->set(channel, Quantity::Current, amperes);
}
void SimulatedController::setRpm(int channel, double rpm) {
  held_->set(channel, Quantity::Rpm, rpm);
}
void SimulatedController::setEncoderCount(int channel, int32_t count) {
  held_->set(channel, Quantity::Encoder, count);
}
void SimulatedController::setTemperature(double celsius) {
  check(!std::isnan(celsius), "a simulated value must be a number");
  const int channels = held_->open().channels();
  held_->open().setSimulatedValue(controller::simulated::temperatureValue(channels), celsius);
}

}  // namespace detail

namespace sim {

using detail::check;
using detail::checkRange;

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

  void checkOpen(int input) const {
    checkRange(input, 0, Ferux::kChannels - 1, "analog channel");
    if (!board->isOpen()) throw std::logic_error(devices::AnalogBoard::name() + " is closed");
  }
};

FeruxSim::FeruxSim(const Ferux& board) : held_(std::make_shared<Held>(Held{board.open().board})) {}

void FeruxSim::setVoltage(int input, double volts) {
  held_->checkOpen(input);
  check(!std::isnan(volts), "a simulated value must be a number");
  analog::setSimulatedVoltage(input, volts);
}

double FeruxSim::getVoltage(int input) const {
  held_->checkOpen(input);
  return analog::simulatedVoltage(input);
}

}  // namespace sim
}  // namespace brova
