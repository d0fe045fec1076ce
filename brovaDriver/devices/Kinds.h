// What differs between the two kinds of open device: a small description of each, over the
// controller models of controller/Models.h.
#pragma once

#include <cstdint>
#include <string_view>

#include "controller/Description.h"
#include "devices/Device.h"

namespace brova::devices {

struct KindDescription {
  const controller::Model& (*model)();
  uint32_t quantities;  // what the model can answer

  std::string_view modelName() const { return model().name; }  // as the console names it
  int channels() const { return model().channels; }
};

const KindDescription& describe(Kind kind);

}  // namespace brova::devices
