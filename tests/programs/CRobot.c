/* A robot program written in C against the public header alone: it opens both controllers,
 * drives them, queries them (no controller answers on this bus, so queries read zero) and
 * reads the analog board (none is attached, so the probe fails). Exits 0 when every result is
 * the one the library defines. */
#include <stdio.h>

#include "BrovaDriver.h"

static int failures = 0;

static void expect(int ok, const char* what) {
  if (!ok) {
    printf("FAILED: %s\n", what);
    ++failures;
  }
}

int main(void) {
  bool flag = true;
  int32_t quad = c_BrovaQuad_create(5, 1000, &flag, 0);
  expect(quad != 0, "quad create returns a handle");
  expect(!flag, "create clears the flag");
  int32_t small = c_BrovaSmall_create(7, 1000, NULL);
  expect(small != 0, "small create returns a handle");
  expect(c_BrovaQuad_create(64, 1000, NULL, 0) == 0, "device 64 is refused");

  for (uint8_t motor = 0; motor < 4; ++motor) c_BrovaQuad_setMotorSpeed(quad, motor, 0.5);
  c_BrovaSmall_setMotorSpeed(small, -0.25);
  c_BrovaQuad_disableMotor(quad, 1);
  c_BrovaQuadEncoder_resetEncoder(quad, 2);

  expect(c_BrovaQuad_getCurrent(quad, 2) == 0.0, "missing current reads 0");
  expect(c_BrovaQuad_getID(quad) == 0, "missing device id reads 0");
  double slot = 1.0;
  expect(c_BrovaQuadEncoder_getEncoderDistance(quad, 1, 0.5, 0, &slot) == 0.0 && slot == 0.0,
         "missing encoder count reads 0");
  c_BrovaSmallEncoder_setEncoder(small, 2.5, &slot);
  expect(slot == 2.5, "setEncoder stores its value");
  expect(c_BrovaSmall_getFaults(small) == 0 && !c_BrovaSmall_enableSoftLimit(small),
         "unsupported operations give neutral values");

  expect(!c_initializeI2C(5), "no analog board answers");
  expect(c_getRawValue(0) == 0 && c_getVoltage(4) == 0.0f, "readings without a board read 0");
  c_closeI2C();

  c_BrovaQuad_destroy(quad);
  c_BrovaSmall_destroy(small);
  printf("%s\n",
         failures == 0 ? "C robot program: all results as defined" : "C robot program failed");
  return failures == 0 ? 0 : 1;
}
