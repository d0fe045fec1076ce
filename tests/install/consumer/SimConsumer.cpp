// Built against the installed package's simulated platform alone (BrovaDriver::Simulation): its
// control API's headers, brovasim/, include the device models' headers, brovamodels/, which the
// package installs beside them. A simulated BrovaQuad and board, set up as a simulation does.
#include <cstdio>

#include "brovasim/SimAnalogBoard.h"
#include "brovasim/SimController.h"

int main() {
  auto options = brovasim::SimController::defaults(brovasim::SimController::Model::Quad);
  const brovasim::MotorParameters motor{.freeSpeedRpm = 4000.0};
  options.motor = motor;
  auto quad = brovasim::SimController::attach(brovasim::SimController::Model::Quad, 9, options);
  quad->holdRpm(0, 600.0);
  auto board = brovasim::attachAnalogBoard();
  board->setInput(0, 1.25);
  const bool ok = quad->channels() == 4 && quad->channel(0).rpm == 600.0 &&
                  board->input(0) == 1.25;
  std::printf("%s\n", ok ? "Simulation consumer: a held BrovaQuad and a board from the installed "
                           "headers"
                         : "Simulation consumer failed");
  return ok ? 0 : 1;
}
