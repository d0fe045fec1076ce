/* The device models of BrovaDriver in WPILib's desktop simulation (libBrovaDriverSim.so).
 *
 * A robot program needs nothing of this file: libBrovaDriver.so loads this library itself when
 * it runs on WPILib's simulation HAL, from beside itself or the library path, and calls
 * BrovaDriverSim_attach. From then on each BrovaQuad, BrovaSmall and Ferux board the program
 * opens is answered by a device model and shows among WPILib's simulated devices. */
#ifndef BROVADRIVERSIM_H
#define BROVADRIVERSIM_H

#ifdef __cplusplus
extern "C" {
#endif

/* Registers the device models on WPILib's simulation callbacks, once; later calls do nothing.
 * Returns 0. */
__attribute__((visibility("default"))) int BrovaDriverSim_attach(void);

#ifdef __cplusplus
}
#endif

#endif /* BROVADRIVERSIM_H */
