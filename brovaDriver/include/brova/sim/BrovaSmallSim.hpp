// A BrovaSmall's simulated device, for a team's own simulation code (libBrovaDriver.so): as
// BrovaQuadSim (brova/sim/BrovaQuadSim.hpp), for the one channel. The device shows in WPILib's
// simulation GUI as "BrovaSmall[7]". The BrovaSmall reports no speed or temperature over the bus;
// the model keeps them all the same.
#ifndef BROVADRIVER_BROVA_SIM_BROVASMALLSIM_HPP
#define BROVADRIVER_BROVA_SIM_BROVASMALLSIM_HPP

#include <cstdint>

#include "brova/BrovaSmall.hpp"
#include "brova/detail/SimulatedController.hpp"

namespace brova::sim {

class BROVA_OBJECTS_API BrovaSmallSim : private detail::SimulatedController {
 public:
  explicit BrovaSmallSim(const BrovaSmall& small);

  double getAppliedOutput() const;
  bool isEnabled() const;
  double getCurrent() const;
  double getRPM() const;
  int32_t getEncoderCount() const;
  double getTemperature() const;

  void setLoad(double fraction);
  void setCurrent(double amperes);
  void setRPM(double rpm);
  void setEncoderCount(int32_t count);
  void setTemperature(double celsius);
};

}  // namespace brova::sim

#endif  // BROVADRIVER_BROVA_SIM_BROVASMALLSIM_HPP
