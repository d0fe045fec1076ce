// brovactl's program: the command line, and Ctrl-C and SIGTERM turned into a stop request so a
// spinning motor is disabled and its controller closed before the program ends.
#include <pthread.h>
#include <signal.h>

#include <iostream>
#include <thread>

#include "Brovactl.h"
#include "StopRequest.h"

int main(int argc, char** argv) {
  // Blocked before the driver starts any thread, so every thread leaves these signals to the
  // one that waits for them.
  sigset_t stopSignals;
  sigemptyset(&stopSignals);
  sigaddset(&stopSignals, SIGINT);
  sigaddset(&stopSignals, SIGTERM);
  pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);
  std::thread([stopSignals] {
    for (;;) {
      int signal = 0;
      if (sigwait(&stopSignals, &signal) == 0) brovactl::requestStop();
    }
  }).detach();

  return brovactl::runBrovactl(std::vector<std::string>(argv + 1, argv + argc), std::cout,
                               std::cerr);
}
