// BrovaDriver for C++ robot programs: BrovaQuad, BrovaSmall and Ferux objects over the C entry
// points of BrovaDriver.h. Header-only; it adds nothing to the library. One header per class
// (brova/Reading.hpp, brova/BrovaQuad.hpp, brova/BrovaSmall.hpp, brova/Ferux.hpp); this one
// includes them all.
//
//   brova::BrovaQuad quad(5);                       // device 5, every channel at 15 kHz
//   quad.startTelemetry(std::chrono::milliseconds(50));
//   quad.set(1, 0.5);                               // never waits
//   brova::Reading amps = quad.getCurrent(1);       // the latest value read, at once
//
// - One controller of each model (and one board) can be open at a time: opening a second one
//   throws std::logic_error naming the open device. Objects are move-only; the destructor closes.
// - Bad arguments (device outside 1..63, motor outside 0..3, frequency outside 0..20000, NaN
//   speed, analog channel outside 0..3) throw std::invalid_argument; any call on a closed object
//   throws std::logic_error.
// - Telemetry: each controller query waits for the controller's reply (10 ms BrovaQuad, 100 ms
//   BrovaSmall). startTelemetry runs those queries on a thread of the object's own and keeps the
//   latest value of each quantity with the time it was read; the get... getters return that at
//   once. The ...Blocking methods ask the controller directly and wait. A reply that does not
//   come reads as 0 (and the library prints a line).
#ifndef BROVADRIVER_BROVADRIVER_HPP
#define BROVADRIVER_BROVADRIVER_HPP

#include "BrovaDriver.h"
#include "brova/BrovaQuad.hpp"
#include "brova/BrovaSmall.hpp"
#include "brova/Ferux.hpp"
#include "brova/Limits.hpp"
#include "brova/Reading.hpp"

#endif  // BROVADRIVER_BROVADRIVER_HPP
