// The receive contract on the simulated platform: frames are put on the simulated bus.
#include "brovasim/SimCan.h"
#include "platform/FrameSource.h"

namespace brova::testing {
namespace {

class SimFrameSource : public FrameSource {
 public:
  SimFrameSource() { brovasim::can::reset(); }
  void deliver(uint32_t id, const std::vector<uint8_t>& data) override {
    brovasim::can::putFrame(id, data);
  }
  // A put frame can be received at once.
  void settle() override {}
};

}  // namespace

std::unique_ptr<FrameSource> makeFrameSource() { return std::make_unique<SimFrameSource>(); }

}  // namespace brova::testing
