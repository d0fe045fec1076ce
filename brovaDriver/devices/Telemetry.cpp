#include "devices/Telemetry.h"

#include <algorithm>
#include <memory>
#include <mutex>
#include <vector>

#include "can/Link.h"
#include "controller/Commands.h"
#include "devices/BusLoad.h"
#include "devices/Rounds.h"
#include "devices/TelemetryThread.h"

namespace brova::devices::telemetry {
namespace {

struct Outstanding {
  const Request* request;
  uint64_t generation;
  bool answered;
};

struct Entry;
Clock::time_point advance(Entry& entry);

// One controller on the thread.
struct Entry final : Member {
  Device::State* device;
  Choice choice;
  std::chrono::nanoseconds period;
  std::vector<Wave> waves;

  enum class Phase { BetweenRounds, Sending, Waiting } phase = Phase::BetweenRounds;
  std::size_t wave = 0;
  Clock::time_point roundStarted{};
  Clock::time_point nextRound{};
  Clock::time_point waveSent{};
  // How long the latest wave whose replies all came took to be answered, as the thread saw it.
  Clock::duration replyTime{};
  std::vector<Outstanding> outstanding;
  std::unique_lock<std::mutex> exchange;

  Clock::time_point step() override {
    return waves.empty() ? Clock::time_point::max() : advance(*this);
  }
  double framesPerSecondOn(int bus) const override {
    return bus == device->address.bus ? devices::framesPerSecond(device->kind, choice, period)
                                      : 0.0;
  }
};

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
  const Clock::duration pause = device.model.replyPauseSpan();
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
Clock::time_point advance(Entry& entry) {
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

}  // namespace

void start(Device::State& device, std::chrono::nanoseconds period, Choice choice) {
  stop(device);
  auto entry = std::make_unique<Entry>();
  entry->device = &device;
  entry->choice = choice;
  entry->period = boundedPeriod(period);
  entry->waves = roundOf(device.kind, choice);
  // A round takes its period, or a pause per wave when that is longer.
  const auto round = std::max<std::chrono::nanoseconds>(
      entry->period, entry->waves.size() * std::chrono::duration_cast<std::chrono::nanoseconds>(
                                               device.model.replyPauseSpan()));
  std::size_t widest = 0;
  for (const Wave& wave : entry->waves) widest = std::max(widest, wave.size());
  entry->outstanding.reserve(widest);
  entry->exchange = std::unique_lock(device.modelState.exchangeLock, std::defer_lock);

  join(&device, std::move(entry));
  device.telemetryRunning.store(true, std::memory_order_release);
  device.writer.confirmedEvery(round);
  warnOnBusLoad(device.address.bus, framesPerSecondOn(device.address.bus));
}

void stop(Device::State& device) noexcept {
  if (!leave(&device)) return;
  device.telemetryRunning.store(false, std::memory_order_release);
  device.writer.unconfirmed();
}

}  // namespace brova::devices::telemetry
