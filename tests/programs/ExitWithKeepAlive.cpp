// A robot program that returns from main with controllers still open: it must exit with 0.
#include "BrovaDriver.h"

int main() {
  c_BrovaQuad_create(5, 1000, nullptr, 0);
  c_BrovaSmall_create(7, 1000, nullptr);
  c_BrovaSmall_create(8, 1000, nullptr);
  return 0;
}
