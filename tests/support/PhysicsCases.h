// The simulation objects' cases (brova/sim/*.hpp), in one table that runs on either simulation:
// the library's own simulated platform (tests/objects/PhysicsApiTest.cpp, with simulated
// controllers attached) and WPILib's simulation HAL (tests/package/wpilib/WpilibRobot.cpp, where
// the library attaches them itself). Public headers only. Each case acts through the simulation
// object or the controller object and waits, up to a generous bound, for what must follow: a
// reading of the telemetry or a simulated value.
#pragma once

#include <chrono>
#include <cmath>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "BrovaDriver.hpp"

namespace brova::physics_cases {

struct Devices {
  BrovaQuad& quad;
  BrovaSmall& small;
  Ferux& board;
  sim::BrovaQuadSim& quadSim;
  sim::BrovaSmallSim& smallSim;
  sim::FeruxSim& boardSim;
};

struct Case {
  std::string name;
  std::function<void(Devices&)> act;
  // Holds once the act has taken effect; false until then.
  std::function<bool(Devices&)> holds;
};

inline bool near(double value, double expected, double tolerance) {
  return std::fabs(value - expected) <= tolerance;
}
inline bool freshNear(const Reading& r, double expected, double tolerance) {
  return r.fresh() && near(r.value, expected, tolerance);
}

// With the robot enabled and telemetry running on the three devices.
inline std::vector<Case> cases() {
  return {
      {"set drives the applied output and enables", [](Devices& d) { d.quad.set(0, 0.5); },
       [](Devices& d) { return d.quadSim.getAppliedOutput(0) == 0.5 && d.quadSim.isEnabled(); }},
      // At half duty the motor draws at least its friction current (1 A) times 0.5, however late
      // the reading comes: the bound is half that.
      {"a driven motor turns, draws and counts", [](Devices&) {},
       [](Devices& d) {
         return d.quad.getRPM(0).fresh() && d.quad.getRPM(0).value > 100.0 &&
                d.quad.getCurrent(0).value > 0.25 && d.quad.getEncoderDistance(0).value > 100.0;
       }},
      {"disable turns the output off", [](Devices& d) { d.quad.disable(0); },
       [](Devices& d) { return d.quadSim.getAppliedOutput(0) == 0.0; }},
      {"a speed set in the simulation is what the controller reports",
       [](Devices& d) { d.quadSim.setRPM(1, 1234.0); },
       [](Devices& d) { return freshNear(d.quad.getRPM(1), 1234.0, 0.5); }},
      {"an encoder set under a held speed counts on from where it was set",
       [](Devices& d) { d.quadSim.setEncoderCount(1, -1000000); },
       [](Devices& d) {
         const Reading r = d.quad.getEncoderDistance(1);
         return r.fresh() && r.value > -1000000.0 + 2048.0 && r.value < 0.0;
       }},
      {"a current set in the simulation is what the controller reports",
       [](Devices& d) { d.quadSim.setCurrent(2, 7.5); },
       [](Devices& d) {
         return freshNear(d.quad.getCurrent(2), 7.5, 0.005) && d.quadSim.getCurrent(2) == 7.5;
       }},
      {"an encoder count set in the simulation is where the encoder stands",
       [](Devices& d) { d.quadSim.setEncoderCount(3, 4096); },
       [](Devices& d) { return freshNear(d.quad.getEncoderDistance(3), 4096.0, 0.0); }},
      {"a temperature set in the simulation is what the controller reports",
       [](Devices& d) { d.quadSim.setTemperature(61.25); },
       [](Devices& d) { return freshNear(d.quad.getTemperature(), 61.25, 0.005); }},
      {"a load gives the speed back to the model: a stalled motor stops",
       [](Devices& d) { d.quadSim.setLoad(1, 1.0); },
       [](Devices& d) { return freshNear(d.quad.getRPM(1), 0.0, 0.5); }},
      {"the single-channel controller follows its set and reports a set current",
       [](Devices& d) {
         d.small.set(-0.25);
         d.smallSim.setCurrent(40.0);  // above any current the model draws at this duty
       },
       [](Devices& d) {
         return d.smallSim.getAppliedOutput() == -0.25 &&
                freshNear(d.small.getCurrent(), 40.0, 0.0);
       }},
      {"a board input set in the simulation is what the next conversion reads",
       [](Devices& d) { d.boardSim.setVoltage(2, 1.0); },
       [](Devices& d) {
         return freshNear(d.board.getRaw(2), 1000.0, 0.0) && d.boardSim.getVoltage(2) == 1.0;
       }},
  };
}

// Runs every case in order, each given up to `bound` to hold; calls `failed` for each that did
// not, and returns how many did not.
inline int run(Devices& devices, const std::function<void(const std::string&)>& failed,
               std::chrono::milliseconds bound = std::chrono::milliseconds(5000)) {
  int failures = 0;
  for (const Case& c : cases()) {
    c.act(devices);
    const auto until = std::chrono::steady_clock::now() + bound;
    bool held = c.holds(devices);
    while (!held && std::chrono::steady_clock::now() < until) {
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
      held = c.holds(devices);
    }
    if (!held) {
      ++failures;
      failed(c.name);
    }
  }
  return failures;
}

// What every simulation object refuses, whichever simulation: a channel the model lacks, a value
// that is not a number, and a closed object. Returns the refusals that did not happen.
inline std::vector<std::string> unrefused(Devices& d) {
  std::vector<std::string> missed;
  const auto refuses = [&](const std::string& what, auto call, bool logic) {
    try {
      call();
      missed.push_back(what);
    } catch (const std::invalid_argument&) {
      if (logic) missed.push_back(what + " (invalid_argument, not logic_error)");
    } catch (const std::logic_error&) {
      if (!logic) missed.push_back(what + " (logic_error, not invalid_argument)");
    }
  };
  refuses(
      "channel 4", [&] { d.quadSim.setRPM(4, 1.0); }, false);
  refuses(
      "channel -1", [&] { (void)d.quadSim.getAppliedOutput(-1); }, false);
  refuses(
      "NaN current", [&] { d.smallSim.setCurrent(std::nan("")); }, false);
  refuses(
      "board input 4", [&] { d.boardSim.setVoltage(4, 1.0); }, false);
  return missed;
}

}  // namespace brova::physics_cases
