// What an open board object holds (brova/Ferux.hpp), for its object and its simulation.
#pragma once

#include <atomic>
#include <memory>

#include "brova/Ferux.hpp"
#include "devices/AnalogBoard.h"

namespace brova {

struct Ferux::Open {
  std::shared_ptr<devices::AnalogBoard> board;
  std::atomic<bool> closed{false};
};

}  // namespace brova
