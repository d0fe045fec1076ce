#include "brova/Ferux.hpp"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <stdexcept>

#include "brova/detail/Checks.hpp"
#include "devices/AnalogBoard.h"
#include "objects/FeruxOpen.h"
#include "objects/Open.h"

namespace brova {

static_assert(Ferux::kLargestFullScaleVolts == devices::kLargestFullScaleVolts);

namespace {

void checkChannel(int channel) {
  detail::checkRange(channel, 0, Ferux::kChannels - 1, "analog channel");
}

}  // namespace

Ferux::Ferux(int fullScaleVolts) : open_(std::make_unique<Open>()) {
  open_->board = devices::AnalogBoard::open(fullScaleVolts);
}

Ferux::~Ferux() { close(); }
Ferux::Ferux(Ferux&&) noexcept = default;
Ferux& Ferux::operator=(Ferux&& other) noexcept {
  if (this != &other) {
    close();
    open_ = std::move(other.open_);
  }
  return *this;
}

void Ferux::close() noexcept {
  if (!open_ || open_->closed.exchange(true)) return;
  open_->board->close();
}

bool Ferux::isOpen() const noexcept { return open_ && !open_->closed.load(); }

const Ferux::Open& Ferux::open() const {
  if (!isOpen()) throw std::logic_error(devices::AnalogBoard::name() + " is closed");
  return *open_;
}

int Ferux::getFullScaleVolts() const { return open().board->fullScaleVolts(); }
bool Ferux::isConnected() const { return open().board->isConnected(); }

// The channel is checked before the board is found open, as the controllers check theirs.
double Ferux::getVoltageBlocking(int channel) const {
  checkChannel(channel);
  return open().board->voltageBlocking(channel);
}
int Ferux::getRawBlocking(int channel) const {
  checkChannel(channel);
  return open().board->rawBlocking(channel);
}

void Ferux::startTelemetry(std::chrono::milliseconds period) {
  detail::check(period.count() > 0, "telemetry period must be positive");
  // A day stands for any longer period, whose nanoseconds would not fit.
  open().board->startTelemetry(std::min<std::chrono::milliseconds>(period, std::chrono::hours(24)));
}
void Ferux::stopTelemetry() { open().board->stopTelemetry(); }
bool Ferux::telemetryRunning() const { return open().board->telemetryRunning(); }

Reading Ferux::raw(int channel) const {
  checkChannel(channel);
  const devices::AnalogBoard& board = *open().board;
  return detail::toReading(devices::seen(board.readings(),
                                         devices::boardSlotOf(static_cast<unsigned>(channel)),
                                         devices::readingTimeNow()));
}

Reading Ferux::getRaw(int channel) const { return raw(channel); }

Reading Ferux::getVoltage(int channel) const {
  Reading r = raw(channel);
  if (!std::isnan(r.value)) r.value = devices::boardVolts(r.value, open().board->fullScaleVolts());
  return r;
}

}  // namespace brova
