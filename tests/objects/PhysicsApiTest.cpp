// The simulation objects (brova/sim/*.hpp) on the library's own simulated platform: the table of
// cases that also runs on WPILib's simulation (support/PhysicsCases.h), over simulated
// controllers and a board attached here; and what a closed object leaves them.
#include <string>
#include <vector>

#include "BrovaDriver.hpp"
#include "brovasim/SimAnalogBoard.h"
#include "brovasim/SimController.h"
#include "support/PhysicsCases.h"
#include "support/SimTest.h"

namespace brova::testing {
namespace {

class PhysicsApi : public SimTest {
 protected:
  void SetUp() override {
    SimTest::SetUp();
    captureConsole();
  }
};

TEST_F(PhysicsApi, TheCasesOfEitherSimulationHold) {
  using brovasim::SimController;
  const auto quadModel = SimController::attach(SimController::Model::Quad, 6);
  const auto smallModel = SimController::attach(SimController::Model::Small, 7);
  const auto boardModel = brovasim::attachAnalogBoard();
  brovasim::can::setSystemActive(true);
  BrovaQuad quad(6);
  BrovaSmall small(7);
  Ferux board;
  quad.startTelemetry(20ms);
  small.startTelemetry(20ms);
  board.startTelemetry(20ms);
  sim::BrovaQuadSim quadSim(quad);
  sim::BrovaSmallSim smallSim(small);
  sim::FeruxSim boardSim(board);
  physics_cases::Devices devices{quad, small, board, quadSim, smallSim, boardSim};
  physics_cases::run(devices, [](const std::string& name) { ADD_FAILURE() << name; });
  EXPECT_EQ(physics_cases::unrefused(devices), std::vector<std::string>{});
  // What the simulation objects set is the models' own state.
  EXPECT_EQ(quadModel->channel(2).currentAmperes, 7.5);
  EXPECT_EQ(boardModel->input(2), 1.0);
}

TEST_F(PhysicsApi, AClosedObjectsSimulationRefusesAndAnUnmodelledOneReadsZero) {
  BrovaQuad quad(6);  // no simulated controller: its simulated device has values nobody keeps
  sim::BrovaQuadSim quadSim(quad);
  quadSim.setCurrent(0, 3.0);
  EXPECT_EQ(quadSim.getCurrent(0), 3.0);  // the value itself, as set
  EXPECT_EQ(quadSim.getAppliedOutput(0), 0.0);
  quad.close();
  EXPECT_THROW(quadSim.getAppliedOutput(0), std::logic_error);
  EXPECT_THROW(quadSim.setLoad(0, 0.5), std::logic_error);
  EXPECT_THROW(sim::BrovaQuadSim{quad}, std::logic_error);
  Ferux board;
  board.close();
  EXPECT_THROW(sim::FeruxSim{board}, std::logic_error);
}

}  // namespace
}  // namespace brova::testing
