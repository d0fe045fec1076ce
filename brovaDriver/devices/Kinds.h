// What differs between the two kinds of open device: a small description of each, over the
// controller models of controller/Models.h.
#pragma once

#include <cstdint>
#include <string_view>

#include "controller/Description.h"
#include "devices/Device.h"

namespace brova::devices {

struct KindDescription {
  std::string_view modelName;  // as the console names it
  const controller::Model& (*model)();
  int channels;
  uint32_t quantities;  // what the model can answer
};

const KindDescription& describe(Kind kind);

}  // namespace brova::devices
