// What a controller object's telemetry reads.
#ifndef BROVADRIVER_BROVA_TELEMETRYCHOICE_HPP
#define BROVADRIVER_BROVA_TELEMETRYCHOICE_HPP

#include <cstdint>

namespace brova {

// A set of quantities, for a set of channels. Each quantity of a channel costs two frames on the
// bus per round (request and reply); docs/objects.md gives the bus share of each choice.
//
//   quad.startTelemetry(20ms, {.quantities = TelemetryChoice::kCurrent | TelemetryChoice::kEncoder,
//                              .channels = 0b0011});
struct TelemetryChoice {
  static constexpr uint32_t kCurrent = 1u << 0;
  static constexpr uint32_t kRpm = 1u << 1;          // BrovaQuad only
  static constexpr uint32_t kEncoder = 1u << 2;      // the encoder distance
  static constexpr uint32_t kTemperature = 1u << 3;  // BrovaQuad only
  static constexpr uint32_t kEverything = kCurrent | kRpm | kEncoder | kTemperature;

  uint32_t quantities = kEverything;
  // Bit c for BrovaQuad channel c (0..3); a BrovaSmall reads its one channel whatever this holds.
  uint32_t channels = 0xF;
};

}  // namespace brova

#endif  // BROVADRIVER_BROVA_TELEMETRYCHOICE_HPP
