/* Built against the installed package: opens a BrovaQuad through the C entry points, drives it
 * and queries it. No controller answers on this bus, so queries read 0. Exits 0 when every
 * result is the one the library defines. */
#include <stdio.h>

#include "BrovaDriver.h"

int main(void) {
  int failures = 0;
  int32_t quad = c_BrovaQuad_create(5, 1000, NULL, 0);
  if (quad == 0) {
    printf("FAILED: create returns a handle\n");
    return 1;
  }
  c_BrovaQuad_setMotorSpeed(quad, 1, 0.5);
  if (c_BrovaQuad_getCurrent(quad, 1) != 0.0) {
    printf("FAILED: a current nobody answers reads 0\n");
    ++failures;
  }
  if (c_BrovaQuad_getID(quad) != 0) {
    printf("FAILED: a device id nobody answers reads 0\n");
    ++failures;
  }
  c_BrovaQuad_destroy(quad);
  printf("%s\n", failures == 0 ? "C consumer: results as defined" : "C consumer failed");
  return failures == 0 ? 0 : 1;
}
