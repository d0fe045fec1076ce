// Control of the SocketCAN platform: the robot platform's HAL functions over Linux CAN
// interfaces, for running a robot program on a Linux machine with a CAN adapter (or a virtual
// vcan interface) instead of on the robot.
//
// Choosing it: link the library (libBrovaDriver.so) built against this platform, which the build
// puts in its own directory (build/<preset>/socketcan/), and put that directory first on the
// program's library path (LD_LIBRARY_PATH, or java.library.path for a JVM).
//
// The interfaces: each CAN bus is on an interface of its own. BROVA_CAN_INTERFACES lists them by
// bus, bus 0 first; BROVA_CAN_INTERFACE names bus 0's when the list does not (default can0); the
// rules are in brovasocketcan/BusInterfaces.h. setInterface() overrides them. The 2026 HAL's
// calls name no bus: they are all on bus 0. Each bus's interface is opened at the first CAN call
// on that bus (or by open()), with its own socket, reader and kept frames: losing one interface
// disturbs no other bus. When an interface cannot be opened, one line naming it (and its bus,
// when not 0) goes to standard error, and every CAN call on that bus reports a negative status
// until setInterface() or close() lets the next call try again. A bus with no interface reports
// kStatusNoInterface to every CAN call, and HAL_InitializeCAN hands out no handle (0) there.
//
// What the CAN functions do here:
// - HAL_CAN_SendMessage writes one frame, at once, without waiting: the identifier as a 29-bit
//   extended frame (an 11-bit standard frame when HAL_CAN_IS_FRAME_11BIT is set, a remote frame
//   when HAL_CAN_IS_FRAME_REMOTE is), exactly the first min(dataSize, 8) bytes of `data`. Only
//   period 0 (HAL_CAN_SEND_PERIOD_NO_REPEAT) is supported: the platform sends no repeating
//   frames. A write the kernel refuses (interface down, transmit queue full) reports -errno.
// - A reader thread keeps the frames received, and HAL_CAN_ReceiveMessage hands each to one
//   receive, by the rule every platform follows (docs/receiving.md). The time stamp is the
//   steady clock's milliseconds (wrapping at 32 bits) when the reader took the frame from the
//   socket.
// - HAL_InitializeCAN hands out consecutive handles (from 0x0C0001, one count for all buses) on
//   a bus with an interface; HAL_CleanCAN needs no bookkeeping. A frame from a bus's own socket
//   is not received back on that bus.
//
// The robot's enable: there is no driver station off the robot, so HAL_GetSystemActive answers
// false unless the program (enableFor) or the environment (BROVA_ENABLE_SECONDS=S: enabled
// for S seconds from the platform's first use) enables the robot. Every enable lapses unless
// renewed: call enableFor again before it runs out, as a driver station keeps sending.
//
// I2C: this platform has no I2C bus; transfers fail (negative result) and the first attempt
// prints one line.
//
// All functions are thread-safe.
#pragma once

#include <chrono>
#include <cstdint>
#include <string>

#include "brovasocketcan/BusInterfaces.h"

#if BROVA_HAL >= 2027
#include "wpi/hal/CAN.h"
#include "wpi/hal/Errors.h"
#else
#include "hal/CAN.h"
#include "hal/Errors.h"
#endif

namespace brovasocketcan {

inline constexpr const char* kEnableVariable = "BROVA_ENABLE_SECONDS";

// Statuses the CAN functions report besides the platform's usual ones (a failed write reports
// the negative errno of the write).
inline constexpr int32_t kStatusNotOpen = HAL_ERR_CANSessionMux_NotInitialized;
inline constexpr int32_t kStatusPeriodNotSupported = HAL_ERR_CANSessionMux_NotAllowed;
inline constexpr int32_t kStatusInvalidBuffer = HAL_ERR_CANSessionMux_InvalidBuffer;
// A bus that has no interface, as the simulated platform reports a bus the robot does not have.
// The 2026 calls are all on bus 0, which has no interface only once setInterface("") took it.
#if BROVA_HAL >= 2027
inline constexpr int32_t kStatusNoInterface = HAL_PARAMETER_OUT_OF_RANGE;
#else
inline constexpr int32_t kStatusNoInterface = kStatusNotOpen;
#endif
// HAL_InitializeI2C's status, and what every I2C transfer returns.
#if BROVA_HAL >= 2027
inline constexpr int32_t kStatusNoI2C = HAL_NO_AVAILABLE_RESOURCES;
#else
inline constexpr int32_t kStatusNoI2C = NO_AVAILABLE_RESOURCES;
#endif
inline constexpr int32_t kI2CTransferFailed = -1;

// The functions below that take no bus act on bus 0; a bus is 0 or more (std::out_of_range for
// a negative one).

// Puts `bus` on interface `name` from its next CAN call on: an interface already open for that bus
// is closed (its kept frames are forgotten), and one that could not be opened is tried again. An
// empty name leaves the bus without an interface.
void setInterface(const std::string& name);
void setInterface(int32_t bus, const std::string& name);
// The interface in use or to be opened for `bus`; empty when it has none.
std::string interfaceName();
std::string interfaceName(int32_t bus);
// Opens the bus's interface now if it is not open yet; false (after the one console line) when it
// cannot be opened, or the bus has no interface.
bool open();
bool open(int32_t bus);
// Closes the interface or socket `bus` uses (its kept frames are forgotten); the next CAN call on
// that bus opens the interface again.
void close();
void close(int32_t bus);
// Uses `socket`, which the caller opened and bound (or any socket carrying struct can_frame
// records, as tests use), for `bus` in place of an interface: closes the interface or socket in
// use there, and closes `socket` when it is replaced in turn.
void attachSocket(int socket);
void attachSocket(int32_t bus, int socket);

// Enables the robot for `duration` from now, replacing any earlier enable; zero or less
// disables it.
void enableFor(std::chrono::milliseconds duration);
void disable();
// Whether HAL_GetSystemActive answers true now.
bool enabled();

}  // namespace brovasocketcan
