// The robot's enable off the robot: a lease that lapses unless renewed.
//
// On the robot the driver station enables the robot and keeps saying so; when it stops, the robot
// disables itself. Here the program (or the environment) takes the driver station's place, and
// the same rule holds: an enable lasts until its deadline, and only a renewal moves the deadline.
#pragma once

#include <chrono>
#include <mutex>
#include <optional>
#include <string_view>

namespace brovasocketcan {

class EnableSwitch {
 public:
  using Clock = std::chrono::steady_clock;

  // Enabled from `now` until `now + duration`, replacing any earlier enable; zero or less
  // disables.
  void enableFor(Clock::duration duration, Clock::time_point now = Clock::now());
  void disable();
  bool enabledAt(Clock::time_point now = Clock::now()) const;

 private:
  mutable std::mutex mutex_;
  Clock::time_point until_{};
};

// The duration BROVA_ENABLE_SECONDS gives: a decimal number of seconds, at least a millisecond
// and at most a day (a typo must not enable the robot for ever); nothing for any other text.
std::optional<std::chrono::milliseconds> parseEnableSeconds(std::string_view text);

}  // namespace brovasocketcan
