// Argument checks of the objects: a bad argument throws std::invalid_argument naming it.
#ifndef BROVADRIVER_BROVA_DETAIL_CHECKS_HPP
#define BROVADRIVER_BROVA_DETAIL_CHECKS_HPP

#include <stdexcept>
#include <string>

namespace brova::detail {

inline void check(bool ok, const std::string& message) {
  if (!ok) throw std::invalid_argument(message);
}

inline void checkRange(int value, int low, int high, const std::string& what) {
  check(value >= low && value <= high, what + " " + std::to_string(value) + " is outside " +
                                           std::to_string(low) + ".." + std::to_string(high));
}

}  // namespace brova::detail

#endif  // BROVADRIVER_BROVA_DETAIL_CHECKS_HPP
