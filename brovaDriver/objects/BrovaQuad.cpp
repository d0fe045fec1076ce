#include "brova/BrovaQuad.hpp"

#include "controller/Commands.h"
#include "controller/Queries.h"
#include "objects/Open.h"
#include "objects/Speed.h"

namespace brova {
namespace {

using devices::slotOf;

// Checked before the object is found open: a bad argument is reported as such on an open or a
// closed object alike.
// The message is only made for a channel out of range: the cached getters stay cheap.
uint8_t channel(int motor, const char* what) {
  if (motor < 0 || motor >= BrovaQuad::kChannels) {
    detail::checkRange(motor, 0, BrovaQuad::kChannels - 1, std::string("BrovaQuad ") + what);
  }
  return static_cast<uint8_t>(motor);
}

}  // namespace

BrovaQuad::BrovaQuad(int deviceNumber, int frequencyHz)
    : BrovaQuad(deviceNumber, CanBus{0}, frequencyHz) {}
BrovaQuad::BrovaQuad(int deviceNumber, CanBus bus, int frequencyHz)
    : ControllerObject(true, deviceNumber, bus, frequencyHz) {}

void BrovaQuad::set(int motor, double speed) {
  const uint8_t m = channel(motor, "motor");
  const double s = detail::objectSpeed(speed);
  controller::setMotorSpeed(open().device->model(), m, s);
}

void BrovaQuad::disable(int motor) {
  const uint8_t m = channel(motor, "motor");
  controller::disableMotor(open().device->model(), m);
}

void BrovaQuad::setFrequency(int motor, int hz) {
  const uint8_t m = channel(motor, "motor");
  detail::checkFrequency(hz);
  controller::configureMotor(open().device->model(), m, hz);
}

void BrovaQuad::resetEncoder(int encoder) {
  const uint8_t e = channel(encoder, "encoder");
  open().device->resetEncoder(e);
}

void BrovaQuad::setDistancePerTick(int encoder, double distance) {
  setPerTick(channel(encoder, "encoder"), distance);
}

double BrovaQuad::getDistancePerTick(int encoder) const {
  return perTick(channel(encoder, "encoder"));
}

std::string BrovaQuad::getFirmwareVersion() const {
  return controller::getFirmwareVersion(open().device->model());
}
std::string BrovaQuad::getHardwareVersion() const {
  return controller::getHardwareVersion(open().device->model());
}
std::string BrovaQuad::getSerialNumber() const {
  return controller::getSerialNumber(open().device->model());
}

double BrovaQuad::getCurrentBlocking(int motor) const {
  const uint8_t m = channel(motor, "motor");
  return controller::getCurrent(open().device->model(), m);
}
double BrovaQuad::getRPMBlocking(int motor) const {
  const uint8_t m = channel(motor, "motor");
  return controller::getRpm(open().device->model(), m);
}
double BrovaQuad::getTemperatureBlocking() const {
  return controller::getControllerTemp(open().device->model());
}
double BrovaQuad::getEncoderDistanceBlocking(int encoder) const {
  const uint8_t e = channel(encoder, "encoder");
  return controller::getEncoderDistance(open().device->model(), e, 1.0, nullptr) * perTick(e);
}

Reading BrovaQuad::getCurrent(int motor) const {
  return reading(slotOf(devices::kCurrent, channel(motor, "motor")));
}
Reading BrovaQuad::getRPM(int motor) const {
  return reading(slotOf(devices::kRpm, channel(motor, "motor")));
}
Reading BrovaQuad::getTemperature() const { return reading(slotOf(devices::kTemperature, 0)); }
Reading BrovaQuad::getEncoderDistance(int encoder) const {
  const uint8_t e = channel(encoder, "encoder");
  return distance(slotOf(devices::kEncoderCount, e), e);
}

}  // namespace brova
