#include "brova/BrovaSmall.hpp"

#include "controller/Commands.h"
#include "controller/Models.h"
#include "controller/Queries.h"
#include "objects/Open.h"
#include "objects/Speed.h"

namespace brova {
namespace {

using controller::kOnlyChannel;
using devices::slotOf;

}  // namespace

BrovaSmall::BrovaSmall(int deviceNumber, int frequencyHz)
    : BrovaSmall(deviceNumber, CanBus{0}, frequencyHz) {}
BrovaSmall::BrovaSmall(int deviceNumber, CanBus bus, int frequencyHz)
    : ControllerObject(false, deviceNumber, bus, frequencyHz) {}

void BrovaSmall::set(double speed) {
  const double s = detail::objectSpeed(speed);
  controller::setMotorSpeed(open().device->model(), kOnlyChannel, s);
}

void BrovaSmall::disable() { controller::disableMotor(open().device->model(), kOnlyChannel); }

void BrovaSmall::setFrequency(int hz) {
  detail::checkFrequency(hz);
  controller::configureMotor(open().device->model(), kOnlyChannel, hz);
}

void BrovaSmall::resetEncoder() { open().device->resetEncoder(kOnlyChannel); }

void BrovaSmall::setDistancePerTick(double distance) { setPerTick(kOnlyChannel, distance); }
double BrovaSmall::getDistancePerTick() const { return perTick(kOnlyChannel); }

std::string BrovaSmall::getFirmwareVersion() const {
  return controller::getFirmwareVersion(open().device->model());
}
std::string BrovaSmall::getHardwareVersion() const {
  return controller::getHardwareVersion(open().device->model());
}
std::string BrovaSmall::getSerialNumber() const {
  return controller::getSerialNumber(open().device->model());
}

double BrovaSmall::getCurrentBlocking() const {
  return controller::getCurrent(open().device->model(), kOnlyChannel);
}
double BrovaSmall::getEncoderDistanceBlocking() const {
  return controller::getEncoderDistance(open().device->model(), kOnlyChannel, 1.0, nullptr) *
         perTick(kOnlyChannel);
}

Reading BrovaSmall::getCurrent() const { return reading(slotOf(devices::kCurrent, kOnlyChannel)); }
Reading BrovaSmall::getEncoderDistance() const {
  return distance(slotOf(devices::kEncoderCount, kOnlyChannel), kOnlyChannel);
}

}  // namespace brova
