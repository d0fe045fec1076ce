#include "devices/State.h"

#include <string>

#include "devices/Kinds.h"

namespace brova::devices {
namespace {

std::string nameOf(Kind kind, can::Address address) {
  std::string name =
      std::string(describe(kind).modelName()) + " on device " + std::to_string(address.device);
  if (address.bus != 0) name += " of CAN bus " + std::to_string(address.bus);
  return name;
}

}  // namespace

Device::State::State(Kind kind, can::Address address, ReadingBlock* readings)
    : kind(kind),
      address(address),
      number(address.device),
      name(nameOf(kind, address)),
      model(controller::withState(describe(kind).model(), modelState)),
      writer(name, readings) {
  modelState.deviceNumber.store(number, std::memory_order_release);
  modelState.bus = address.bus;
  modelState.replies = this;
}

}  // namespace brova::devices
