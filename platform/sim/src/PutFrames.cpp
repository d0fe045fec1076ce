// Frames put on the simulated bus by device models and tests: kept for receives, captured, and
// heard by the put observers.
#include <algorithm>

#include "Bus.h"
#include "brovasim/CandumpLog.h"

namespace brovasim::can {

void putFrame(uint32_t id, const uint8_t* data, uint8_t size) {
  KeptFrame frame{.id = id, .size = size, .time = Clock::now()};
  if (data != nullptr)
    std::copy_n(data, std::min<size_t>(size, frame.data.size()), frame.data.begin());
  const auto observers = withBus([&](Bus& b) {
    b.frames.keep(frame);
    capture::record(id, frame.data.data(), std::min<uint8_t>(size, 8));
    return b.observers.putObservers();
  });
  const PutFrame put{.time = frame.time, .id = id, .data = frame.data, .size = size};
  for (const auto& observer : observers) observer(put);
}

void putFrame(uint32_t id, const std::vector<uint8_t>& data) {
  putFrame(id, data.data(), static_cast<uint8_t>(std::min<size_t>(data.size(), 255)));
}

void removeFrame(uint32_t id) {
  withBus([id](Bus& b) { b.frames.remove(id); });
}

void removeAllFrames() {
  withBus([](Bus& b) { b.frames.clear(); });
}

}  // namespace brovasim::can
