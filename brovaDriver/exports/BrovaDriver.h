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

/* ---- BrovaQuad: four-channel controller ------------------------------------------------- */

/* Opens the BrovaQuad with CAN device number `deviceNumber` (1..63), configures channel
 * `motor` with `frequency` (0..20000) and starts its keep-alive frames (every 100 ms).
 * Returns the CAN handle, or 0 with a console line when an argument is out of range or the
 * controller could not be opened. `flag`, when not null, is set to false. */
BROVA_API int32_t c_BrovaQuad_create(int16_t deviceNumber, int16_t frequency, bool* flag,
                                     uint8_t motor);
/* Stops the keep-alive frames of the create that returned `handle` and releases the handle. */
BROVA_API void c_BrovaQuad_destroy(int32_t handle);

/* ---- BrovaSmall: single-channel controller ---------------------------------------------- */

/* Opens the BrovaSmall with CAN device number `deviceNumber` (1..63) at `frequency`
 * (0..20000), starts its keep-alive frames and prints "Brova Initialized". Returns the CAN
 * handle, or 0 with a console line on failure. `flag`, when not null, is set to false. */
BROVA_API int32_t c_BrovaSmall_create(int16_t deviceNumber, int16_t frequency, bool* flag);
/* Stops the keep-alive frames of the create that returned `handle` and releases the handle. */
BROVA_API void c_BrovaSmall_destroy(int32_t handle);

#ifdef __cplusplus
} /* extern "C" */
#endif

#endif /* BROVADRIVER_BROVADRIVER_H */
