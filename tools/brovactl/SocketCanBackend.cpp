// brovactl on the SocketCAN platform: the bus is a Linux CAN interface (--can IFACE, else
// $BROVA_CAN_INTERFACE, else can0) with the controllers, real or brova-devsim, on it.
#include <unistd.h>

#include <algorithm>

#include "Backend.h"
#include "brovasocketcan/CanSocket.h"
#include "brovasocketcan/SocketCan.h"

namespace brovactl {

const std::string_view kBackendName = "SocketCAN bus";
const OptionSpec kBusOption{"--can"};
const std::string_view kBusOptionHelp =
    "  --can IFACE        the CAN interface of the --bus named (default: its entry of\n"
    "                     $BROVA_CAN_INTERFACES, for bus 0 $BROVA_CAN_INTERFACE, else can0)\n";

namespace {

// A raw socket of brovactl's own: the platform's socket keeps only the latest frame per
// identifier for the driver, while a dump needs every frame in order.
class SocketTap : public BusTap {
 public:
  explicit SocketTap(int fd) : fd_(fd) {}
  ~SocketTap() override { ::close(fd_); }

  std::optional<TappedFrame> next(Clock::time_point deadline) override {
    while (!stopRequested()) {
      const auto left =
          std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
      if (left.count() <= 0) return std::nullopt;
      // Short slices, so a stop request is seen within one.
      brovasocketcan::Frame frame;
      switch (brovasocketcan::waitForFrame(
          fd_, -1, frame, static_cast<int>(std::min<int64_t>(left.count(), kSliceMs)))) {
        case brovasocketcan::Read::Frame:
          return TappedFrame{
              Clock::now(), frame.id,
              std::vector<uint8_t>(frame.data.begin(), frame.data.begin() + frame.size)};
        case brovasocketcan::Read::Nothing:
        case brovasocketcan::Read::Failed: break;
        case brovasocketcan::Read::Stopped: return std::nullopt;  // the socket hung up
      }
    }
    return std::nullopt;
  }

 private:
  static constexpr int64_t kSliceMs = 20;
  const int fd_;
};

}  // namespace

bool openBus(const Arguments& arguments, std::ostream&) {
  const int bus = busOf(arguments);
  if (const auto name = arguments.text("--can")) {
    if (name->empty()) throw UsageError("--can needs an interface name");
    brovasocketcan::setInterface(bus, *name);
  }
  // The platform prints the one line naming the interface when it cannot open it.
  return brovasocketcan::open(bus);
}

void closeBus() {}

void enableRobot(std::chrono::milliseconds lease) { brovasocketcan::enableFor(lease); }
void disableRobot() { brovasocketcan::disable(); }

std::unique_ptr<BusTap> tapBus(int bus, std::ostream& err) {
  const std::string name = brovasocketcan::interfaceName(bus);
  const auto socket = brovasocketcan::openCanSocket(name);
  if (socket.fd < 0) {
    err << "brovactl: cannot open CAN interface " << name << " (" << socket.error << ")\n";
    return nullptr;
  }
  return std::make_unique<SocketTap>(socket.fd);
}

}  // namespace brovactl
