#include "devices/Telemetry.h"

#include <algorithm>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "can/Link.h"
#include "controller/Commands.h"
#include "devices/BackgroundThread.h"
#include "devices/BusLoad.h"
#include "devices/Rounds.h"

#ifdef __linux__
#include <sys/prctl.h>
#endif

namespace brova::devices::telemetry {
namespace {

using Clock = std::chrono::steady_clock;
constexpr auto kPoll = std::chrono::microseconds(200);

struct Outstanding {
  const Request* request;
  uint64_t generation;
  bool answered;
};

// One device on the thread. Touched by the thread only, apart from `leaving`, which is guarded
// by the loop's mutex like the list of entries itself.
struct Entry {
  Device::State* device;
  Choice choice;
  std::chrono::nanoseconds period;
  std::vector<Wave> waves;
  bool leaving = false;

  enum class Phase { BetweenRounds, Sending, Waiting } phase = Phase::BetweenRounds;
  std::size_t wave = 0;
  Clock::time_point roundStarted{};
  Clock::time_point nextRound{};
  Clock::time_point waveSent{};
  // How long the latest wave whose replies all came took to be answered, as the thread saw it.
  Clock::duration replyTime{};
  std::vector<Outstanding> outstanding;
  std::unique_lock<std::mutex> exchange;
};

// Never destroyed: the detached thread may use it while the process exits.
struct Loop {
  std::mutex mutex;
  std::condition_variable wake;
  std::condition_variable left;
  std::vector<std::unique_ptr<Entry>> entries;
  bool running = false;
};

Loop& loop() {
  static Loop* const instance = new Loop;
  return *instance;
}

Clock::duration replyPauseOf(const Device::State& device) {
  return std::chrono::duration_cast<Clock::duration>(
      std::chrono::duration<double>(device.model.replyPause));
}

// Sends the wave's requests, after dropping what is kept on their reply identifiers; false,
// sending nothing, while one of those still awaits a late reply (Replies.h).
bool sendWave(Entry& entry, Clock::time_point now) {
  Device::State& device = *entry.device;
  bool clear = true;
  for (const Request& request : entry.waves[entry.wave]) {
    clear = device.clear(request.replyBase, device.address, now) && clear;
  }
  if (!clear) return false;
  entry.outstanding.clear();
  for (const Request& request : entry.waves[entry.wave]) {
    entry.outstanding.push_back({&request, device.writer.generation(request.slot), false});
    can::sendFrame(request.requestBase, controller::channelPayload(request.channel),
                   device.address);
  }
  entry.waveSent = now;
  entry.phase = Entry::Phase::Waiting;
  return true;
}

// Takes the replies that have come; true when the wave is over (every reply taken, or the
// reply pause passed), its unanswered requests then counted.
bool collect(Entry& entry, Clock::time_point now) {
  Device::State& device = *entry.device;
  bool all = true;
  for (Outstanding& o : entry.outstanding) {
    if (o.answered) continue;
    can::Payload reply{};
    if (can::receiveFrame(o.request->replyBase, reply, device.address)) {
      o.answered = true;
      device.writer.answered(o.request->slot, o.generation,
                             decode(*o.request, reply, device.model));
    } else {
      all = false;
    }
  }
  const Clock::duration pause = replyPauseOf(device);
  if (!all && now < entry.waveSent + pause) return false;
  if (all) entry.replyTime = now - entry.waveSent;
  for (const Outstanding& o : entry.outstanding) {
    if (o.answered) continue;
    device.awaitLate(o.request->replyBase, now, pause);
    device.writer.unanswered(o.request->slot, o.generation);
  }
  return true;
}

// Advances one device as far as it can go now; returns when it next needs the thread.
Clock::time_point step(Entry& entry) {
  for (;;) {
    const Clock::time_point now = Clock::now();
    switch (entry.phase) {
      case Entry::Phase::BetweenRounds:
        if (now < entry.nextRound) return entry.nextRound;
        entry.roundStarted = now;
        entry.wave = 0;
        entry.phase = Entry::Phase::Sending;
        break;
      case Entry::Phase::Sending:
        // A blocking query holds the device: try again on the next poll.
        if (!entry.exchange.try_lock()) return now + kPoll;
        if (!sendWave(entry, now)) {
          entry.exchange.unlock();
          return now + kPoll;
        }
        // Replies take about as long as the last ones did: the first look comes a little before
        // that, instead of a poll every 200 µs all the way.
        return now + std::max<Clock::duration>(kPoll, entry.replyTime * 3 / 4);
      case Entry::Phase::Waiting:
        if (!collect(entry, now)) return now + kPoll;
        entry.exchange.unlock();
        if (++entry.wave < entry.waves.size()) {
          entry.phase = Entry::Phase::Sending;
          break;
        }
        entry.device->lastRoundNanos.store(
            std::chrono::duration_cast<std::chrono::nanoseconds>(now - entry.roundStarted).count(),
            std::memory_order_release);
        entry.nextRound = entry.roundStarted + entry.period;
        entry.phase = Entry::Phase::BetweenRounds;
        break;
    }
  }
}

void run() noexcept {
#ifdef __linux__
  // Every wait of this thread is a short timed poll: the kernel's default slack (50 µs) would
  // stretch each by a quarter.
  prctl(PR_SET_TIMERSLACK, 1UL, 0UL, 0UL, 0UL);
#endif
  Loop& l = loop();
  std::unique_lock lock(l.mutex);
  for (;;) {
    try {
      const auto leaving = [](const std::unique_ptr<Entry>& e) { return e->leaving; };
      if (std::erase_if(l.entries, leaving) > 0) l.left.notify_all();
      Clock::time_point next = Clock::time_point::max();
      for (const auto& entry : l.entries) {
        if (!entry->waves.empty()) next = std::min(next, step(*entry));
      }
      const auto anyLeaving = [&l, &leaving] {
        return std::any_of(l.entries.begin(), l.entries.end(), leaving);
      };
      if (next == Clock::time_point::max()) {
        l.wake.wait(lock);
      } else {
        l.wake.wait_until(lock, next, anyLeaving);
      }
    } catch (...) {
      // Nothing here throws but a broken platform; it costs this pass.
    }
  }
}

// The thread's entry of `device`, or end.
auto find(Loop& l, const Device::State& device) {
  return std::find_if(l.entries.begin(), l.entries.end(),
                      [&device](const auto& e) { return e->device == &device; });
}

}  // namespace

void start(Device::State& device, std::chrono::nanoseconds period, Choice choice) {
  stop(device);
  auto entry = std::make_unique<Entry>();
  entry->device = &device;
  entry->choice = choice;
  // A day stands for any longer period, so that the next round's time cannot overflow.
  entry->period = std::clamp<std::chrono::nanoseconds>(period, std::chrono::nanoseconds::zero(),
                                                       std::chrono::hours(24));
  entry->waves = roundOf(device.kind, choice);
  // A reading stays fresh for three rounds: a round takes its period, or a pause per wave when
  // that is longer.
  const auto round = std::max<std::chrono::nanoseconds>(
      entry->period, entry->waves.size() * std::chrono::duration_cast<std::chrono::nanoseconds>(
                                               replyPauseOf(device)));
  std::size_t widest = 0;
  for (const Wave& wave : entry->waves) widest = std::max(widest, wave.size());
  entry->outstanding.reserve(widest);
  entry->exchange = std::unique_lock(device.modelState.exchangeLock, std::defer_lock);

  double framesPerSecond = 0.0;
  {
    Loop& l = loop();
    std::lock_guard lock(l.mutex);
    l.entries.reserve(l.entries.size() + 1);
    if (!l.running) {
      startBackgroundThread(run, "brova-telemetry");
      l.running = true;
    }
    l.entries.push_back(std::move(entry));
    device.telemetryRunning.store(true, std::memory_order_release);
    device.writer.setFreshFor(3 * round);
    for (const auto& e : l.entries) {
      if (e->device->address.bus != device.address.bus) continue;
      framesPerSecond += devices::framesPerSecond(e->device->kind, e->choice, e->period);
    }
    l.wake.notify_one();
  }
  warnOnBusLoad(device.address.bus, framesPerSecond);
}

void stop(Device::State& device) noexcept {
  Loop& l = loop();
  std::unique_lock lock(l.mutex);
  const auto entry = find(l, device);
  if (entry == l.entries.end()) return;
  (*entry)->leaving = true;
  l.wake.notify_one();
  l.left.wait(lock, [&l, &device] { return find(l, device) == l.entries.end(); });
  device.telemetryRunning.store(false, std::memory_order_release);
  device.writer.setFreshFor(std::chrono::nanoseconds::zero());
}

}  // namespace brova::devices::telemetry
