// BrovaDriver for C++ robot programs: BrovaQuad and BrovaSmall objects for any number of
// controllers, and the Ferux analog board object, all over the library's one core. One header
// per class (brova/Reading.hpp, brova/TelemetryChoice.hpp, brova/CanBus.hpp, brova/BrovaQuad.hpp,
// brova/BrovaSmall.hpp, brova/Ferux.hpp); this one includes them all. Link libBrovaDriver.so,
// the one library of the objects and the C entry points alike.
//
//   brova::BrovaQuad left(5), right(6);              // devices 5 and 6, every channel at 15 kHz
//   brova::BrovaQuad arm(5, brova::CanBus{2});       // device 5 of CAN bus 2 (2027 HAL)
//   left.startTelemetry(std::chrono::milliseconds(20));
//   left.set(1, 0.5);                                // never waits
//   brova::Reading amps = left.getCurrent(1);        // the latest value read, at once
//   if (amps.fresh()) ...                            // fresh, missing, stale or not read yet
//
// - One object per device, its CAN bus and number (whatever the model: the identifiers tell the
//   models apart by number only): opening a second one on an open bus and number throws
//   std::logic_error naming the open one. One Ferux board. Objects are move-only; the
//   destructor closes.
// - Bad arguments (device outside 1..63, motor outside 0..3, frequency outside 0..20000, NaN
//   speed, a telemetry period that is not positive, analog channel outside 0..3) throw
//   std::invalid_argument; any call on a closed object throws std::logic_error naming it
//   ("BrovaQuad on device 5 is closed"). A speed beyond -1..1 is clamped to it (the C entry points
//   pass it on). The Java objects check and say the same.
// - Telemetry: the library reads every object's chosen quantities on one thread for all of them,
//   asking many at once, and keeps each quantity's latest value with its time and whether the
//   controller answered (Reading). The get... getters return that at once. The ...Blocking
//   methods ask the controller directly and wait its reply pause (10 ms BrovaQuad, 100 ms
//   BrovaSmall); a reply that does not come reads as 0 (and the library prints a line).
//   The Ferux board's telemetry runs on that thread too: brova::Ferux::getVoltage is its cached
//   Reading (missing, never 0 V, when a transfer fails), getVoltageBlocking converts now.
// - Keep-alive frames go out from one thread for all open controllers.
// - The C entry points address one device per model (the one created last), on bus 0. They and
//   the objects never share a device: an object on a device they drive throws std::logic_error,
//   and their create on an object's device fails with a console line (docs/objects.md).
#ifndef BROVADRIVER_BROVADRIVER_HPP
#define BROVADRIVER_BROVADRIVER_HPP

#include "BrovaDriver.h"
#include "brova/BrovaQuad.hpp"
#include "brova/BrovaSmall.hpp"
#include "brova/CanBus.hpp"
#include "brova/Ferux.hpp"
#include "brova/Limits.hpp"
#include "brova/Reading.hpp"
#include "brova/TelemetryChoice.hpp"
#include "brova/sim/BrovaQuadSim.hpp"
#include "brova/sim/BrovaSmallSim.hpp"
#include "brova/sim/FeruxSim.hpp"

#endif  // BROVADRIVER_BROVADRIVER_HPP
