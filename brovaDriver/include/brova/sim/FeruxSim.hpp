// The Ferux board's simulated device, for a team's own simulation code (libBrovaDriver.so): sets
// the voltage at each of its four inputs, which the next conversion reads. It shows in WPILib's
// simulation GUI as "Ferux[1]" (its I2C port). On the robot the getters read 0 and the setters
// do nothing. Each call throws std::logic_error once the board object is closed, and
// std::invalid_argument for an input outside 0..3.
#ifndef BROVADRIVER_BROVA_SIM_FERUXSIM_HPP
#define BROVADRIVER_BROVA_SIM_FERUXSIM_HPP

#include <memory>

#include "brova/Ferux.hpp"
#include "brova/detail/Export.hpp"

namespace brova::sim {

class BROVA_OBJECTS_API FeruxSim {
 public:
  explicit FeruxSim(const Ferux& board);

  void setVoltage(int input, double volts);
  double getVoltage(int input) const;

  struct Held;  // the library's

 private:
  std::shared_ptr<Held> held_;
};

}  // namespace brova::sim

#endif  // BROVADRIVER_BROVA_SIM_FERUXSIM_HPP
