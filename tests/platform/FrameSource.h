// What the receive contract needs from a platform under test: a bus to put frames on, as a
// device would. Each platform's test executable defines makeFrameSource().
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

namespace brova::testing {

class FrameSource {
 public:
  virtual ~FrameSource() = default;
  // Puts a frame with this identifier (29-bit) and these 0..8 bytes on the bus.
  virtual void deliver(uint32_t id, const std::vector<uint8_t>& data) = 0;
  // Returns once every frame delivered so far can be received.
  virtual void settle() = 0;
};

// A fresh platform with an empty bus; the platform is released when the source is destroyed.
std::unique_ptr<FrameSource> makeFrameSource();

}  // namespace brova::testing
