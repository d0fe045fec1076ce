// brovactl on the simulated platform: the bus is in this process, so there is nothing to talk
// to unless --simulate attaches simulated controllers (or a test does).
#include <condition_variable>
#include <deque>
#include <mutex>
#include <sstream>

#include "Backend.h"
#include "brova/Limits.hpp"
#include "brovasim/SimCan.h"
#include "brovasim/SimController.h"

namespace brovactl {

const std::string_view kBackendName = "simulated CAN bus";
const OptionSpec kBusOption{"--simulate"};
const std::string_view kBusOptionHelp =
    "  --simulate LIST    attach simulated controllers in this process, e.g. quad:5,small:7 (on\n"
    "                     the --bus named)\n";

namespace {

std::vector<std::shared_ptr<brovasim::SimController>> attached;

brovasim::SimController::Model modelNamed(const std::string& name, const std::string& item) {
  if (name == "quad") return brovasim::SimController::Model::Quad;
  if (name == "small") return brovasim::SimController::Model::Small;
  throw UsageError("--simulate: '" + item + "' is not quad:N or small:N");
}

// Queues what the simulated bus hands its observers (in the sender's thread) for next().
class SimTap : public BusTap {
 public:
  explicit SimTap(int bus) : queue_(std::make_shared<Queue>()) {
    auto add = [queue = queue_](uint32_t id, const uint8_t* data, size_t size) {
      std::lock_guard lock(queue->mutex);
      queue->frames.push_back({Clock::now(), id, std::vector<uint8_t>(data, data + size)});
      queue->wake.notify_all();
    };
    sent_ = brovasim::can::subscribe([add, bus](const brovasim::SentFrame& f) {
      if (f.bus == bus) add(f.id, f.data.data(), std::min<size_t>(f.size, 8));
    });
    put_ = brovasim::can::subscribePut([add, bus](const brovasim::PutFrame& f) {
      if (f.bus == bus) add(f.id, f.data.data(), std::min<size_t>(f.size, 8));
    });
  }
  ~SimTap() override {
    brovasim::can::unsubscribe(sent_);
    brovasim::can::unsubscribePut(put_);
  }

  std::optional<TappedFrame> next(Clock::time_point deadline) override {
    // Short slices, so a stop request is seen without the stop flag sharing this lock.
    std::unique_lock lock(queue_->mutex);
    while (queue_->frames.empty()) {
      if (stopRequested() || Clock::now() >= deadline) return std::nullopt;
      queue_->wake.wait_until(lock, std::min(deadline, Clock::now() + kSlice));
    }
    TappedFrame frame = std::move(queue_->frames.front());
    queue_->frames.pop_front();
    return frame;
  }

 private:
  static constexpr std::chrono::milliseconds kSlice{20};
  struct Queue {
    std::mutex mutex;
    std::condition_variable wake;
    std::deque<TappedFrame> frames;
  };
  std::shared_ptr<Queue> queue_;
  int sent_ = 0;
  int put_ = 0;
};

}  // namespace

bool openBus(const Arguments& arguments, std::ostream&) {
  const auto list = arguments.text("--simulate");
  if (!list) return true;
  std::vector<std::pair<brovasim::SimController::Model, int>> wanted;
  std::istringstream items(*list);
  std::string item;
  while (std::getline(items, item, ',')) {
    const auto colon = item.find(':');
    if (colon == std::string::npos)
      throw UsageError("--simulate: '" + item + "' is not quad:N or small:N");
    const auto model = modelNamed(item.substr(0, colon), item);
    const int device =
        wholeNumber("--simulate: the device number of '" + item + "'", item.substr(colon + 1),
                    brova::kLowestDeviceNumber, brova::kHighestDeviceNumber);
    wanted.emplace_back(model, device);
  }
  if (wanted.empty()) throw UsageError("--simulate needs at least one quad:N or small:N");
  const int bus = busOf(arguments);
  for (const auto& [model, device] : wanted) {
    auto options = brovasim::SimController::defaults(model);
    options.bus = bus;
    attached.push_back(brovasim::SimController::attach(model, device, options));
  }
  return true;
}

void closeBus() {
  for (auto& controller : attached) controller->detach();
  attached.clear();
}

void enableRobot(std::chrono::milliseconds) { brovasim::can::setSystemActive(true); }
void disableRobot() { brovasim::can::setSystemActive(false); }

std::unique_ptr<BusTap> tapBus(int bus, std::ostream&) { return std::make_unique<SimTap>(bus); }

}  // namespace brovactl
