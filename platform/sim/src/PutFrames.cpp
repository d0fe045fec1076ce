// Frames put on the simulated buses by device models and tests: kept for receives on their bus,
// captured, and heard by the put observers.
#include <algorithm>

#include "Bus.h"
#include "brovasim/CandumpLog.h"

namespace brovasim::can {

void putFrame(uint32_t id, const uint8_t* data, uint8_t size, int32_t bus) {
  checkBus(bus);
  KeptFrame frame{.id = id, .size = size, .time = Clock::now()};
  if (data != nullptr)
    std::copy_n(data, std::min<size_t>(size, frame.data.size()), frame.data.begin());
  const auto observers = withBus([&](Bus& b) {
    b.can[bus].frames.keep(frame);
    capture::record(id, frame.data.data(), std::min<uint8_t>(size, 8), bus);
    return b.observers.putObservers();
  });
  const PutFrame put{.time = frame.time, .id = id, .data = frame.data, .size = size, .bus = bus};
  for (const auto& observer : observers) observer(put);
}

void putFrame(uint32_t id, const std::vector<uint8_t>& data, int32_t bus) {
  putFrame(id, data.data(), static_cast<uint8_t>(std::min<size_t>(data.size(), 255)), bus);
}

void removeFrame(uint32_t id, int32_t bus) {
  checkBus(bus);
  withBus([=](Bus& b) { b.can[bus].frames.remove(id); });
}

void removeAllFrames() {
  withBus([](Bus& b) {
    for (CanBus& c : b.can) c.frames.clear();
  });
}

}  // namespace brovasim::can
