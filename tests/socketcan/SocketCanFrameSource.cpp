// The receive contract on the SocketCAN platform: frames come through a socket pair standing in
// for the CAN interface, and the platform's reader thread keeps them.
#include <chrono>
#include <stdexcept>
#include <thread>

#include "brovasocketcan/SocketCan.h"
#include "platform/FrameSource.h"
#include "support/Hal.h"
#include "support/SocketPair.h"

namespace brova::testing {
namespace {

using brovasocketcan::testing::extended;
using namespace std::chrono_literals;

// Delivered after the frames a step put: the reader keeps frames in the order they come, so once
// the marker can be received, so can they. No case's receive matches it.
constexpr uint32_t kMarker = 0x01000001;

class SocketCanFrameSource : public FrameSource {
 public:
  SocketCanFrameSource() { brovasocketcan::attachSocket(pair_.release()); }
  ~SocketCanFrameSource() override {
    // Joins the reader, which stops when the socket pair hangs up.
    brovasocketcan::close();
  }
  void deliver(uint32_t id, const std::vector<uint8_t>& data) override {
    pair_.put(extended(id), data);
  }
  void settle() override {
    pair_.put(extended(kMarker), {});
    for (const auto end = std::chrono::steady_clock::now() + 5s;
         std::chrono::steady_clock::now() < end; std::this_thread::sleep_for(1ms)) {
      if (brova::testing::hal::receive(kMarker).status == 0) return;
    }
    throw std::runtime_error("the reader kept no frame within 5 s");
  }

 private:
  brovasocketcan::testing::SocketPair pair_;
};

}  // namespace

std::unique_ptr<FrameSource> makeFrameSource() { return std::make_unique<SocketCanFrameSource>(); }

}  // namespace brova::testing
