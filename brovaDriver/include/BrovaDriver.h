/*
 * BrovaDriver: drives BrovaQuad and BrovaSmall CAN motor controllers and reads the Ferux I2C
 * analog board from a robot program.
 *
 * Each controller model drives one device at a time: the device number of the most recent
 * successful create of a model addresses every later operation of that model, whatever handle
 * is passed. Failures are printed as one line on standard output; operations never throw and
 * always return a value of their result type.
 */
#ifndef BROVADRIVER_BROVADRIVER_H
#define BROVADRIVER_BROVADRIVER_H

#include <stdint.h>

#ifdef __cplusplus
#include <string>
extern "C" {
#else
#include <stdbool.h>
#endif

#define BROVA_API __attribute__((visibility("default")))

/* The identity functions return std::string from C linkage on purpose: only C++ callers built
 * against the same standard library see them. */
#if defined(__cplusplus) && defined(__clang__)
#pragma clang diagnostic push
#pragma clang diagnostic ignored "-Wreturn-type-c-linkage"
#endif

/* ---- BrovaQuad: four-channel controller -------------------------------------------------
 * Every operation but create takes the handle create returned; only destroy uses it. Queries
 * wait 10 ms for the controller's reply; a reply that does not come prints one line and reads
 * as zero. Motor numbers are sent as given (channels 0..3). */

/* Opens the BrovaQuad with CAN device number `deviceNumber` (1..63), configures channel
 * `motor` with `frequency` (0..20000) and starts its keep-alive frames (every 100 ms).
 * Returns the CAN handle, or 0 with a console line when an argument is out of range or the
 * controller could not be opened. `flag`, when not null, is set to false. */
BROVA_API int32_t c_BrovaQuad_create(int16_t deviceNumber, int16_t frequency, bool* flag,
                                     uint8_t motor);
/* Stops the keep-alive frames of the create that returned `handle` and releases the handle. */
BROVA_API void c_BrovaQuad_destroy(int32_t handle);
/* The device number the controller reports (0..255). */
BROVA_API int32_t c_BrovaQuad_getID(int32_t handle);
/* The motor frequency the controller reports: the low byte only (0..255). */
BROVA_API int32_t c_BrovaQuad_getFrequency(int32_t handle);
#ifdef __cplusplus
/* "Firmware Version: [a.b.c]". */
BROVA_API std::string c_BrovaQuad_getFirmwareVersion(int32_t handle);
/* "Hardware: Brova Quad, Version: n", "Hardware: Brova Small, Version: n" or
 * "No Hardware Found!". */
BROVA_API std::string c_BrovaQuad_getHardwareVersion(int32_t handle);
/* Three 32-bit words as "XXXXXXXX-XXXXXXXX-XXXXXXXX" (upper-case hex); no line when missing. */
BROVA_API std::string c_BrovaQuad_getSerialNumber(int32_t handle);
#endif
/* Sets channel `motor`'s PWM frequency (Hz; the low 16 bits are sent, no range check). */
BROVA_API void c_BrovaQuad_configureMotor(int32_t handle, int32_t frequency, uint8_t motor);
/* Turns channel `motor`'s output off. */
BROVA_API void c_BrovaQuad_disableMotor(int32_t handle, uint8_t motor);
/* Drives channel `motor` at `speed` (-1.0..1.0 is full reverse..full forward; sent in
 * hundredths, truncated, saturating at 2.55). */
BROVA_API void c_BrovaQuad_setMotorSpeed(int32_t handle, uint8_t motor, double speed);
/* Not supported by the controller: does nothing. */
BROVA_API void c_BrovaQuad_setCurrentLimit(int32_t handle, uint8_t motor);
/* Not supported by the controller: always 0.0. */
BROVA_API double c_BrovaQuad_getLimitSwitch(int32_t handle, uint8_t motor, bool which);
/* Not supported by the controller: always 0. */
BROVA_API int32_t c_BrovaQuad_getFaults(int32_t handle, uint8_t motor);
/* Not supported by the controller: does nothing. */
BROVA_API void c_BrovaQuad_clearFaults(int32_t handle, uint8_t motor);
/* Not supported by the controller: always false. */
BROVA_API bool c_BrovaQuad_enableSoftLimit(int32_t handle, uint8_t motor);
/* Channel `motor`'s current in amperes (whole amperes + hundredths). */
BROVA_API double c_BrovaQuad_getCurrent(int32_t handle, uint8_t motor);
/* The controller's temperature in degrees Celsius (whole degrees + hundredths). */
BROVA_API double c_BrovaQuad_getControllerTemp(int32_t handle);
/* Channel `motor`'s speed in revolutions per minute (0..65535). */
BROVA_API double c_BrovaQuad_getRPM(int32_t handle, uint8_t motor);

/* ---- BrovaQuad encoders ----------------------------------------------------------------- */

/* Stores `value` in `*result` (when not null); nothing reaches the controller. */
BROVA_API void c_BrovaQuadEncoder_setEncoder(int32_t handle, double value, double* result);
/* Encoder `encoder`'s count times `distancePerTick`, in the unit of `distancePerTick`; also
 * stored in `*result` when not null. `count` is not read. */
BROVA_API double c_BrovaQuadEncoder_getEncoderDistance(int32_t handle, uint8_t encoder,
                                                       double distancePerTick, int32_t count,
                                                       double* result);
/* Sets encoder `encoder`'s count to zero. */
BROVA_API void c_BrovaQuadEncoder_resetEncoder(int32_t handle, uint8_t encoder);
/* Not supported: always 0.0. */
BROVA_API double c_BrovaQuadEncoder_getRaw(int32_t handle, uint8_t encoder);
/* Not supported: always 0.0. */
BROVA_API double c_BrovaQuadEncoder_getSpeed(int32_t handle, uint8_t encoder);
/* Not supported: always false. */
BROVA_API bool c_BrovaQuadEncoder_getDirection(int32_t handle, uint8_t encoder);
/* Not supported: does nothing. */
BROVA_API void c_BrovaQuadEncoder_setReverseDirection(int32_t handle, uint8_t encoder);

/* ---- BrovaSmall: single-channel controller ----------------------------------------------
 * As BrovaQuad, without motor numbers; queries wait 100 ms for the controller's reply. */

/* Opens the BrovaSmall with CAN device number `deviceNumber` (1..63) at `frequency`
 * (0..20000), starts its keep-alive frames and prints "Brova Initialized". Returns the CAN
 * handle, or 0 with a console line on failure. `flag`, when not null, is set to false. */
BROVA_API int32_t c_BrovaSmall_create(int16_t deviceNumber, int16_t frequency, bool* flag);
/* Stops the keep-alive frames of the create that returned `handle` and releases the handle. */
BROVA_API void c_BrovaSmall_destroy(int32_t handle);
/* The device number the controller reports (0..255). */
BROVA_API int32_t c_BrovaSmall_getID(int32_t handle);
/* The motor frequency the controller reports: the low byte only (0..255). */
BROVA_API int32_t c_BrovaSmall_getFrequency(int32_t handle);
#ifdef __cplusplus
/* "Firmware Version: [a.b.c]". */
BROVA_API std::string c_BrovaSmall_getFirmwareVersion(int32_t handle);
/* "Hardware: Brova Quad, Version: n" for a hardware type 1, else
 * "Hardware: Brova Small, Version: n". */
BROVA_API std::string c_BrovaSmall_getHardwareVersion(int32_t handle);
/* Three 32-bit words as "XXXXXXXX-XXXXXXXX-XXXXXXXX" (upper-case hex); no line when missing. */
BROVA_API std::string c_BrovaSmall_getSerialNumber(int32_t handle);
#endif
/* Sets the PWM frequency (Hz; the low 16 bits are sent, no range check). */
BROVA_API void c_BrovaSmall_configureMotor(int32_t handle, int32_t frequency);
/* Turns the output off. */
BROVA_API void c_BrovaSmall_disableMotor(int32_t handle);
/* Drives the motor at `speed` (-1.0..1.0; sent in hundredths, truncated, saturating at 2.55). */
BROVA_API void c_BrovaSmall_setMotorSpeed(int32_t handle, double speed);
/* Not supported by the controller: does nothing. */
BROVA_API void c_BrovaSmall_setCurrentLimit(int32_t handle);
/* Not supported by the controller: always 0.0. */
BROVA_API double c_BrovaSmall_getLimitSwitch(int32_t handle, bool which);
/* Not supported by the controller: always 0. */
BROVA_API int32_t c_BrovaSmall_getFaults(int32_t handle);
/* Not supported by the controller: does nothing. */
BROVA_API void c_BrovaSmall_clearFaults(int32_t handle);
/* Not supported by the controller: always false. */
BROVA_API bool c_BrovaSmall_enableSoftLimit(int32_t handle);
/* The motor current: reply byte 0 + byte 1 (the controller reports it in two parts). */
BROVA_API double c_BrovaSmall_getCurrent(int32_t handle);

/* ---- BrovaSmall encoder ----------------------------------------------------------------- */

/* Stores `value` in `*result` (when not null); nothing reaches the controller. */
BROVA_API void c_BrovaSmallEncoder_setEncoder(int32_t handle, double value, double* result);
/* The encoder count times `distancePerTick`, in the unit of `distancePerTick`; also stored in
 * `*result` when not null. `count` is not read. */
BROVA_API double c_BrovaSmallEncoder_getEncoderDistance(int32_t handle, double distancePerTick,
                                                        int32_t count, double* result);
/* Sets the encoder count to zero. */
BROVA_API void c_BrovaSmallEncoder_resetEncoder(int32_t handle);
/* Not supported: always 0.0. */
BROVA_API double c_BrovaSmallEncoder_getRaw(int32_t handle);
/* Not supported: always 0.0. */
BROVA_API double c_BrovaSmallEncoder_getRPM(int32_t handle);
/* Not supported: always 0.0. */
BROVA_API double c_BrovaSmallEncoder_getSpeed(int32_t handle);
/* Not supported: always false. */
BROVA_API bool c_BrovaSmallEncoder_getDirection(int32_t handle);
/* Not supported: does nothing. */
BROVA_API void c_BrovaSmallEncoder_setReverseDirection(int32_t handle);

/* ---- Ferux analog board (I2C port 1, address 0x48) -------------------------------------
 * Each reading starts one conversion of a single-ended input (channel 0..3 against ground),
 * waits 1 ms and reads the 12-bit result. Readings from several threads are serialised. */

/* Opens the I2C port, sets the voltage that 2048 counts stand for to `fullScaleVoltage`
 * (whole volts), and checks that the board answers: prints "I2C device is connected" and
 * returns true, or prints "I2C device not connected" and returns false. */
BROVA_API bool c_initializeI2C(int32_t fullScaleVoltage);
/* Closes the I2C port. */
BROVA_API void c_closeI2C(void);
/* One conversion of `channel`: 0..2047 (a reading below 0 V reads 0); 0 for a channel above
 * 3 or a failed transfer. */
BROVA_API int32_t c_getRawValue(uint8_t channel);
/* One conversion of `channel` in volts: raw × full-scale voltage / 2048; 0.0 for a channel
 * above 3, and before c_initializeI2C. */
BROVA_API float c_getVoltage(uint8_t channel);

#ifdef __cplusplus
} /* extern "C" */
#endif

#if defined(__cplusplus) && defined(__clang__)
#pragma clang diagnostic pop
#endif

#endif /* BROVADRIVER_BROVADRIVER_H */
