// brova-devsim: simulated BrovaQuad and BrovaSmall controllers on a SocketCAN interface, as a
// process of their own.
#include <signal.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "Bridge.h"
#include "Options.h"
#include "brovasim/SimCan.h"
#include "brovasim/SimController.h"
#include "brovasocketcan/BusInterfaces.h"
#include "brovasocketcan/CanSocket.h"

namespace {

constexpr int kStopped = 0;
constexpr int kCannotOpen = 1;
constexpr int kBadUsage = 2;

std::string deviceList(const char* model, const std::vector<int>& devices) {
  std::string text;
  for (int device : devices) {
    if (!text.empty()) text += ", ";
    text += std::string(model) + " on device " + std::to_string(device);
  }
  return text;
}

}  // namespace

int main(int argc, char** argv) {
  const brovasocketcan::BusInterfaces interfaces = brovasocketcan::busInterfacesFromEnvironment();
  const devsim::Parsed parsed =
      devsim::parseOptions(std::vector<std::string>(argv + 1, argv + argc), interfaces.names);
  if (parsed.help) {
    std::fputs(devsim::kUsage, stdout);
    return 0;
  }
  if (!parsed.error.empty()) {
    std::fprintf(stderr, "brova-devsim: %s\n\n%s", parsed.error.c_str(), devsim::kUsage);
    return kBadUsage;
  }
  const devsim::Options& options = parsed.options;
  if (options.bus && !interfaces.disagreement.empty()) {
    std::fprintf(stderr, "brova-devsim: %s\n", interfaces.disagreement.c_str());
  }

  // Every thread started from here on leaves the stop signals to the main thread's sigwait.
  sigset_t stopSignals;
  sigemptyset(&stopSignals);
  sigaddset(&stopSignals, SIGINT);
  sigaddset(&stopSignals, SIGTERM);
  pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);

  const brovasocketcan::OpenedSocket socket = brovasocketcan::openCanSocket(options.interface);
  if (socket.fd < 0) {
    std::fprintf(stderr, "brova-devsim: cannot open CAN interface %s (%s)\n",
                 options.interface.c_str(), socket.error.c_str());
    return kCannotOpen;
  }

  // A long run must not keep every frame heard.
  brovasim::can::setRecording(false);
  using brovasim::SimController;
  std::vector<std::shared_ptr<SimController>> controllers;
  const auto attach = [&](SimController::Model model, const std::vector<int>& devices) {
    for (int device : devices) {
      auto settings = SimController::defaults(model);
      settings.replyLatency = options.replyLatency;
      controllers.push_back(SimController::attach(model, device, settings));
    }
  };
  attach(SimController::Model::Quad, options.quads);
  attach(SimController::Model::Small, options.smalls);

  std::string devices = deviceList("BrovaQuad", options.quads);
  const std::string smalls = deviceList("BrovaSmall", options.smalls);
  if (!devices.empty() && !smalls.empty()) devices += ", ";
  devices += smalls;
  {
    devsim::Bridge bridge(socket.fd);
    std::printf("brova-devsim: %s on %s, reply latency %.3g ms; stop with Ctrl-C\n",
                devices.c_str(), options.interface.c_str(),
                static_cast<double>(options.replyLatency.count()) / 1000);
    std::fflush(stdout);

    int signal = 0;
    sigwait(&stopSignals, &signal);
    // Nothing more is heard, then nothing more is answered, then the socket closes.
    std::printf("brova-devsim: stopping on %s after %llu frames heard, %llu replies written\n",
                signal == SIGINT ? "SIGINT" : "SIGTERM",
                static_cast<unsigned long long>(bridge.framesHeard()),
                static_cast<unsigned long long>(bridge.repliesWritten()));
    std::fflush(stdout);
    for (auto& controller : controllers) controller->detach();
  }
  return kStopped;
}
