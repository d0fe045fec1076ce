// brova-demo: a robot program driving a simulated drivetrain (two BrovaQuads), an intake (a
// BrovaSmall) and a Ferux board through the library.
#include <algorithm>
#include <chrono>
#include <cmath>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <string>
#include <thread>

#include "Arguments.h"
#include "RobotProgram.h"
#include "brovasim/CandumpLog.h"
#include "brovasim/SimAnalogBoard.h"
#include "brovasim/SimCan.h"
#include "brovasim/SimController.h"

namespace {

constexpr const char* kUsage =
    "usage: brova-demo [options]\n"
    "Runs a robot program against a simulated robot: a drivetrain of two BrovaQuads, an intake\n"
    "on a BrovaSmall and a Ferux analog board. Prints their identity, drives a speed profile in a\n"
    "20 ms loop and prints each device's readings, their state and age, a few times a second.\n"
    "Midway the right BrovaQuad stops answering for a moment, to show its readings go missing.\n"
    "\n"
    "  --seconds S      how long to drive (default 5)\n"
    "  --left N         left BrovaQuad device number, 1..63 (default 5)\n"
    "  --right N        right BrovaQuad device number, 1..63 (default 6)\n"
    "  --small N        BrovaSmall device number, 1..63 (default 7)\n"
    "  --capture FILE   write every CAN frame to FILE in candump log format\n"
    "                   (read it with brova-decode FILE)\n"
    "  -h, --help       this text\n"
    "\n"
    "The environment variable BROVA_CAN_CAPTURE=FILE captures as --capture does.\n";

// The right side's controller goes silent from 40% of the run for a fifth of it (at most a
// second) while it still obeys commands, as one whose replies are lost on the bus.
class Silence {
 public:
  Silence(brovasim::SimController& controller, int device, double seconds)
      : thread_([this, &controller, device, seconds] {
          using Seconds = std::chrono::duration<double>;
          const Seconds length(std::min(1.0, seconds / 5));
          std::unique_lock<std::mutex> lock(mutex_);
          if (stop_.wait_for(lock, Seconds(seconds * 0.4), [this] { return stopping_; })) return;
          std::printf("Simulation: BrovaQuad %d stops answering for %.1f s\n", device,
                      length.count());
          controller.setAnswering(false);
          stop_.wait_for(lock, length, [this] { return stopping_; });
          controller.setAnswering(true);
          std::printf("Simulation: BrovaQuad %d answers again\n", device);
        }) {}
  ~Silence() {
    {
      std::lock_guard<std::mutex> lock(mutex_);
      stopping_ = true;
    }
    stop_.notify_all();
    thread_.join();
  }

 private:
  std::mutex mutex_;
  std::condition_variable stop_;
  bool stopping_ = false;
  std::thread thread_;
};

}  // namespace

int main(int argc, char** argv) {
  demo::RobotSettings settings;
  std::string capture;
  const demo::ExtraOption captureOption{"--capture", [&](const char* file) {
                                          capture = file;
                                          return true;
                                        }};
  if (const auto exit =
          demo::readCommandLine(argc, argv, "brova-demo", kUsage, settings, captureOption)) {
    return *exit;
  }

  // The simulated robot: three controllers on the CAN bus, the analog board on I2C port 1. The
  // drivetrain's wheels carry a load; the right side a little more.
  using brovasim::SimController;
  auto left = SimController::attach(SimController::Model::Quad, settings.leftDevice);
  auto right = SimController::attach(SimController::Model::Quad, settings.rightDevice);
  auto small = SimController::attach(SimController::Model::Small, settings.smallDevice);
  for (int motor = 0; motor < 4; ++motor) {
    left->setLoad(motor, 0.3);
    right->setLoad(motor, 0.35);
  }
  auto ferux = brovasim::attachAnalogBoard();
  // Pin voltages within the converter's ±2.048 V range; the program reads them scaled to 5 V.
  constexpr double kPi = 3.14159265358979323846;
  ferux->setInput(0, 0.4);
  ferux->setInputSignal(1, [](double t) { return 1.0 + 0.8 * std::sin(2 * kPi * t / 2.0); });
  ferux->setInputSignal(2, [](double t) { return std::fmod(t, 2.0) * 1.0; });
  ferux->setInputSignal(3, [](double t) { return t < 2.5 ? 0.2 : 1.8; });
  if (!capture.empty() && !brovasim::capture::start(capture)) {
    std::fprintf(stderr, "brova-demo: cannot write %s\n", capture.c_str());
    return 2;
  }

  std::printf(
      "BrovaDriver demo: BrovaQuads on devices %d (left) and %d (right), BrovaSmall on device %d, "
      "Ferux on I2C port 1\n",
      settings.leftDevice, settings.rightDevice, settings.smallDevice);
  int status = 0;
  {
    const Silence silence(*right, settings.rightDevice, settings.seconds);
    status =
        demo::runRobot(settings, [](bool enabled) { brovasim::can::setSystemActive(enabled); });
  }
  brovasim::capture::stop();
  if (!capture.empty()) std::printf("CAN capture written to %s\n", capture.c_str());
  return status;
}
