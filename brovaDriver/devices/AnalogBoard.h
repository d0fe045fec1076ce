// The Ferux analog board as an open device, for the objects of both languages: its readings in a
// reading block (Readings.h) like a controller's, one count per input, and its telemetry on the
// one telemetry thread (TelemetryThread.h). The process has one board, so one may be open at a
// time. The C entry points (analog/Ferux.h) drive the same board and are not refused meanwhile.
#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "devices/Readings.h"

namespace brova::devices {

// Where input `channel`'s count is kept.
constexpr std::size_t boardSlotOf(unsigned channel) { return channel; }

// The board's whole volts 0..kLargestFullScaleVolts pass through single precision exactly.
inline constexpr int kLargestFullScaleVolts = 1 << 24;

class AnalogBoard {
 public:
  // "Ferux analog board": the start of its console lines and of its objects' messages.
  static const std::string& name() noexcept;

  // Opens the board's I2C port with 2048 counts standing for `fullScaleVolts`, and probes it:
  // the console says whether it answered, and so does isConnected(). Throws
  // std::invalid_argument for a voltage outside 0..kLargestFullScaleVolts ("full-scale voltage
  // -1 V is outside 0..16777216 V"), std::logic_error when a board is open already ("Ferux
  // analog board is already open; close it first"). `readings`, when given, is where the
  // readings are kept (it must outlive the board); otherwise the board keeps its own.
  static std::shared_ptr<AnalogBoard> open(int fullScaleVolts, ReadingBlock* readings = nullptr);

  ~AnalogBoard();
  AnalogBoard(const AnalogBoard&) = delete;
  AnalogBoard& operator=(const AnalogBoard&) = delete;

  // Stops its telemetry (no transfer of it is under way when close returns), closes the port and
  // lets another board object open. Waits for a blocking read under way. Closing again does
  // nothing. Never throws.
  void close() noexcept;
  bool isOpen() const noexcept;
  int fullScaleVolts() const noexcept;

  // One conversion of `channel` now, in counts (0..2047) or volts (counts × full scale / 2048,
  // single precision); about 1 ms. A failed transfer reads 0. Each feeds isConnected(). Throws
  // std::invalid_argument for a channel outside 0..3, then std::logic_error when closed.
  int32_t rawBlocking(int channel);
  float voltageBlocking(int channel);

  // Converts the four inputs on the telemetry thread, a round at most every `period` (zero: back
  // to back), each conversion's count kept at boardSlotOf(channel); a conversion one of whose
  // transfers failed leaves its reading missing. Replaces an earlier period.
  void startTelemetry(std::chrono::nanoseconds period);
  // Takes the board off the telemetry thread; returns when no conversion of it is under way.
  void stopTelemetry();
  bool telemetryRunning() const noexcept;

  const ReadingBlock& readings() const noexcept;
  // It answered lately (the probe, a conversion of the telemetry or a blocking read) and fewer
  // than three conversions or probes in a row failed since (Readings.h).
  bool isConnected() const noexcept;

  struct State;  // the implementation's

 private:
  explicit AnalogBoard(std::unique_ptr<State> state);
  std::unique_ptr<State> state_;
};

// `raw` counts in volts at `fullScaleVolts`, as every reading of the board converts them.
float boardVolts(double raw, int fullScaleVolts) noexcept;

}  // namespace brova::devices
