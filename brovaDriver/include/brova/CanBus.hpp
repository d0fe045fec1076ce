// Which CAN bus a controller object talks on.
#ifndef BROVADRIVER_BROVA_CANBUS_HPP
#define BROVADRIVER_BROVA_CANBUS_HPP

#include "brova/Limits.hpp"
#include "brova/detail/Checks.hpp"

namespace brova {

// A CAN bus by its id, as the robot's HAL numbers them: on the 2027 robot controller its own
// buses 0..4 and its expansion's 5..24; the 2026 HAL has bus 0 only, and an object on another
// bus is refused there. Objects made without one are on bus 0.
//
//   brova::BrovaQuad arm{5, brova::CanBus{2}};
class CanBus {
 public:
  // Throws std::invalid_argument for an id outside 0..24.
  explicit CanBus(int id) : id_(id) { detail::checkRange(id, kLowestBus, kHighestBus, "CAN bus"); }

  int getId() const noexcept { return id_; }
  friend bool operator==(const CanBus&, const CanBus&) = default;

 private:
  int id_;
};

}  // namespace brova

#endif  // BROVADRIVER_BROVA_CANBUS_HPP
