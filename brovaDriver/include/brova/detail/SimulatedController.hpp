// What the two controllers' simulation objects share (brova/sim/BrovaQuadSim.hpp,
// brova/sim/BrovaSmallSim.hpp).
#ifndef BROVADRIVER_BROVA_DETAIL_SIMULATEDCONTROLLER_HPP
#define BROVADRIVER_BROVA_DETAIL_SIMULATEDCONTROLLER_HPP

#include <cstdint>
#include <memory>

#include "brova/detail/ControllerObject.hpp"
#include "brova/detail/Export.hpp"

namespace brova::detail {

class BROVA_OBJECTS_API SimulatedController {
 public:
  struct Held;  // the library's

 protected:
  // Throws std::logic_error when `object` is closed.
  explicit SimulatedController(const ControllerObject& object);

  double appliedOutput(int channel) const;
  bool enabled() const;
  double current(int channel) const;
  double rpm(int channel) const;
  int32_t encoderCount(int channel) const;
  double temperature() const;
  void setLoad(int channel, double fraction);
  void setCurrent(int channel, double amperes);
  void setRpm(int channel, double rpm);
  void setEncoderCount(int channel, int32_t count);
  void setTemperature(double celsius);

 private:
  std::shared_ptr<Held> held_;
};

}  // namespace brova::detail

#endif  // BROVADRIVER_BROVA_DETAIL_SIMULATEDCONTROLLER_HPP
