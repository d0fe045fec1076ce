// The ranges a robot program's arguments must lie in: device numbers, motor frequencies and
// channels. Every layer of the library checks against these names.
#ifndef BROVADRIVER_BROVA_LIMITS_HPP
#define BROVADRIVER_BROVA_LIMITS_HPP

namespace brova {

// CAN device numbers of a controller (the six low bits of its identifiers; 0 is the broadcast).
inline constexpr int kLowestDeviceNumber = 1;
inline constexpr int kHighestDeviceNumber = 63;

// CAN bus ids: the 2027 robot controller's own buses 0..4 and its expansion's 5..24. The 2026
// HAL has bus 0 only.
inline constexpr int kLowestBus = 0;
inline constexpr int kHighestBus = 24;

// A motor's PWM frequency in hertz.
inline constexpr int kLowestFrequency = 0;
inline constexpr int kHighestFrequency = 20000;

// A BrovaQuad's motor and encoder channels are 0..kQuadChannels-1; the Ferux board's inputs
// 0..kAnalogInputs-1.
inline constexpr int kQuadChannels = 4;
inline constexpr int kAnalogInputs = 4;

}  // namespace brova

#endif  // BROVADRIVER_BROVA_LIMITS_HPP
