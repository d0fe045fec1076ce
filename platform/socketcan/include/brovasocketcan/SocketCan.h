// Control of the SocketCAN platform: the robot platform's HAL functions over a Linux CAN
// interface, for running a robot program on a Linux machine with a CAN adapter (or a virtual
// vcan interface) instead of on the robot.
//
// Choosing it: link the library (libBrovaDriver.so) built against this platform, which the build
// puts in its own directory (build/<preset>/socketcan/), and put that directory first on the
// program's library path (LD_LIBRARY_PATH, or java.library.path for a JVM).
//
// The interface: BROVA_CAN_INTERFACE names it (default can0), setInterface() overrides that. It
// is opened at the first CAN call (or by open()). When it cannot be opened, one line naming it
// goes to standard error, and every CAN call reports a negative status until setInterface() or
// close() lets the next call try again.
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
// - HAL_InitializeCAN hands out consecutive handles (from 0x0C0001); HAL_CleanCAN needs no
//   bookkeeping. A frame from the program's own socket is not received back.
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

#if BROVA_HAL >= 2027
#include "wpi/hal/CAN.h"
#include "wpi/hal/Errors.h"
#else
#include "hal/CAN.h"
#include "hal/Errors.h"
#endif

namespace brovasocketcan {

inline constexpr const char* kInterfaceVariable = "BROVA_CAN_INTERFACE";
inline constexpr const char* kDefaultInterface = "can0";
inline constexpr const char* kEnableVariable = "BROVA_ENABLE_SECONDS";

// Statuses the CAN functions report besides the platform's usual ones (a failed write reports
// the negative errno of the write).
inline constexpr int32_t kStatusNotOpen = HAL_ERR_CANSessionMux_NotInitialized;
inline constexpr int32_t kStatusPeriodNotSupported = HAL_ERR_CANSessionMux_NotAllowed;
inline constexpr int32_t kStatusInvalidBuffer = HAL_ERR_CANSessionMux_InvalidBuffer;
// HAL_InitializeI2C's status, and what every I2C transfer returns.
#if BROVA_HAL >= 2027
inline constexpr int32_t kStatusNoI2C = HAL_NO_AVAILABLE_RESOURCES;
#else
inline constexpr int32_t kStatusNoI2C = NO_AVAILABLE_RESOURCES;
#endif
inline constexpr int32_t kI2CTransferFailed = -1;

// Uses interface `name` from the next CAN call on: an interface already open is closed (its
// kept frames are forgotten), and one that could not be opened is tried again.
void setInterface(const std::string& name);
// The interface in use or to be opened.
std::string interfaceName();
// Opens the interface now if it is not open yet; false (after the one console line) when it
// cannot be opened.
bool open();
// Closes the interface or socket in use (its kept frames are forgotten); the next CAN call opens
// the interface again.
void close();
// Uses `socket`, which the caller opened and bound (or any socket carrying struct can_frame
// records, as tests use), in place of an interface: closes the interface or socket in use, and
// closes `socket` when it is replaced in turn.
void attachSocket(int socket);

// Enables the robot for `duration` from now, replacing any earlier enable; zero or less
// disables it.
void enableFor(std::chrono::milliseconds duration);
void disable();
// Whether HAL_GetSystemActive answers true now.
bool enabled();

}  // namespace brovasocketcan
