#include "RobotState.h"

#include "Bus.h"

namespace brovasim::can {

void setSystemActive(bool active) {
  withBus([=](Bus& b) { b.robot.active = active; });
}

void scriptSystemActive(const std::vector<bool>& answers) {
  withBus([&](Bus& b) { b.robot.scriptedActive.assign(answers.begin(), answers.end()); });
}

void setSystemActiveSupported(bool supported) {
  withBus([=](Bus& b) { b.robot.systemActiveSupported = supported; });
}

void setControlWord(int64_t value, int32_t result) {
  withBus([=](Bus& b) {
    b.robot.controlWord = value;
    b.robot.controlWordResult = result;
  });
}

int systemActiveQueries() {
  return withBus([](Bus& b) { return b.robot.activeQueries; });
}

void setNextHandle(int32_t next) {
  withBus([=](Bus& b) { b.handles.next = next; });
}

std::vector<int32_t> openHandles() {
  return withBus([](Bus& b) { return b.handles.open; });
}

}  // namespace brovasim::can
