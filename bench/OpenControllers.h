// One open controller of each model on a simulated bus that does not record (benchmarks send
// millions of frames).
#pragma once

#include <cstdint>

#include "BrovaDriver.h"
#include "brovasim/SimCan.h"

namespace brova::bench {

inline constexpr int kQuadDevice = 5;
inline constexpr int kSmallDevice = 7;

struct OpenControllers {
  OpenControllers() {
    brovasim::can::reset();
    brovasim::can::setRecording(false);
    quad = c_BrovaQuad_create(kQuadDevice, 1000, nullptr, 0);
    small = c_BrovaSmall_create(kSmallDevice, 1000, nullptr);
  }
  ~OpenControllers() {
    c_BrovaQuad_destroy(quad);
    c_BrovaSmall_destroy(small);
  }
  OpenControllers(const OpenControllers&) = delete;
  OpenControllers& operator=(const OpenControllers&) = delete;

  int32_t quad = 0;
  int32_t small = 0;
};

}  // namespace brova::bench
