// A BrovaQuad's simulated device, for a team's own simulation code (libBrovaDriver.so).
//
// In a simulation (WPILib's desktop simulation, or this library's simulated platform with a
// brovasim::SimController attached) a device model answers the controller: its motors follow the
// outputs the program sets, by a motor model with heating and an encoder. A BrovaQuadSim, made
// from the open object, reads what the controller applies and lets a mechanism simulation take
// over what it measures:
//
//   brova::BrovaQuad quad(5);
//   brova::sim::BrovaQuadSim quadSim(quad);
//   // each simulation step:
//   arm.setInputVoltage(quadSim.getAppliedOutput(0) * 12.0);
//   arm.update(0.02);
//   quadSim.setRPM(0, arm.getVelocityRpm());
//   quadSim.setCurrent(0, arm.getCurrentDrawAmps());
//
// A channel's current or speed set here holds until setLoad gives that channel back to the
// model, a temperature from then on; an encoder count set here is where the encoder counts on
// from. The same values show,
// and can be set, in WPILib's simulation GUI as the device "BrovaQuad[5]". On the robot every
// getter reads 0 and every setter does nothing. Each call throws std::logic_error once the
// object is closed, and std::invalid_argument for a channel outside 0..3.
#ifndef BROVADRIVER_BROVA_SIM_BROVAQUADSIM_HPP
#define BROVADRIVER_BROVA_SIM_BROVAQUADSIM_HPP

#include <cstdint>

#include "brova/BrovaQuad.hpp"
#include "brova/detail/SimulatedController.hpp"

namespace brova::sim {

class BROVA_OBJECTS_API BrovaQuadSim : private detail::SimulatedController {
 public:
  explicit BrovaQuadSim(const BrovaQuad& quad);

  // The duty channel `channel`'s output applies, -1..1: the speed set, while the controller is
  // enabled and the channel not disabled; else 0.
  double getAppliedOutput(int channel) const;
  // Whether the controller's outputs are enabled: the robot is enabled and its keep-alive
  // frames arrive.
  bool isEnabled() const;
  // What the controller measures and reports.
  double getCurrent(int channel) const;
  double getRPM(int channel) const;
  int32_t getEncoderCount(int channel) const;
  double getTemperature() const;

  // The load on channel `channel`'s motor, 0 (free) .. 1 (stalled); gives its current and speed
  // back to the model.
  void setLoad(int channel, double fraction);
  void setCurrent(int channel, double amperes);
  void setRPM(int channel, double rpm);
  void setEncoderCount(int channel, int32_t count);
  void setTemperature(double celsius);
};

}  // namespace brova::sim

#endif  // BROVADRIVER_BROVA_SIM_BROVAQUADSIM_HPP
