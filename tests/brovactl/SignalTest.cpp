// The program itself stopped by a real SIGINT or SIGTERM in the middle of a spin: the signal
// becomes a stop request, and the motor is disabled and the controller closed before it exits.
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <vector>

#include "BrovactlTest.h"
#include "brovasim/CandumpLog.h"
#include "can/Identifiers.h"

namespace brova::testing {
namespace {

struct Stopped {
  int exitStatus = -1;
  std::string out;
};

// Reads the child's output until `text` appears, EOF, or `timeout`.
bool readUntil(int fd, std::string& out, const std::string& text, std::chrono::seconds timeout) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  while (text.empty() || out.find(text) == std::string::npos) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0) return false;
    pollfd readable{.fd = fd, .events = POLLIN, .revents = 0};
    if (poll(&readable, 1, static_cast<int>(left.count())) <= 0) continue;
    char buffer[512];
    const ssize_t n = read(fd, buffer, sizeof buffer);
    if (n <= 0) return text.empty();
    out.append(buffer, static_cast<size_t>(n));
  }
  return true;
}

// Runs brovactl spin with a simulated BrovaQuad 5 in its own process, capturing its bus to
// `capture`, and sends `signal` once the motor is spinning.
Stopped spinAndSignal(int signal, const std::string& capture) {
  int pipeFds[2];
  if (pipe(pipeFds) != 0) return {};
  const pid_t child = fork();
  if (child == 0) {
    dup2(pipeFds[1], STDOUT_FILENO);
    close(pipeFds[0]);
    setenv(brovasim::capture::kEnvironmentVariable, capture.c_str(), 1);
    // Built for another processor, the program runs under the emulator that runs this test.
    std::vector<const char*> argv = {BROVACTL_EMULATOR};
    argv.insert(argv.end(), {BROVACTL_PROGRAM, "spin", "--simulate", "quad:5", "--quad", "5",
                             "--motor", "1", "--speed", "0.5", "--seconds", "60", "--enable"});
    argv.push_back(nullptr);
    execvp(argv.front(), const_cast<char* const*>(argv.data()));
    _exit(127);
  }
  close(pipeFds[1]);
  Stopped stopped;
  if (readUntil(pipeFds[0], stopped.out, "spinning", std::chrono::seconds(20))) {
    kill(child, signal);
    readUntil(pipeFds[0], stopped.out, "", std::chrono::seconds(20));
  } else {
    kill(child, SIGKILL);
  }
  close(pipeFds[0]);
  int status = 0;
  waitpid(child, &status, 0);
  stopped.exitStatus = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return stopped;
}

TEST(StopSignals, SigintAndSigtermDisableTheMotorBeforeTheProgramEnds) {
  for (const int signal : {SIGINT, SIGTERM}) {
    const std::string capture =
        ::testing::TempDir() + "brovactl-signal-" + std::to_string(getpid()) + ".log";
    const Stopped stopped = spinAndSignal(signal, capture);
    EXPECT_EQ(stopped.exitStatus, 0) << strsignal(signal) << "\n" << stopped.out;
    EXPECT_CONTAINS(stopped.out, "interrupted: motor disabled, controller closed, robot disabled");
    // On the bus: after the last set-speed frame, a disable of motor 1, then the controller is
    // closed: its keep-alive ends. A pass already under way when the close began may still
    // send one frame (two on a machine slow enough to stall a whole period in between).
    std::ifstream log(capture);
    std::string line;
    std::vector<brovasim::LoggedFrame> frames;
    while (std::getline(log, line)) {
      if (auto frame = brovasim::parseCandumpLine(line)) frames.push_back(*frame);
    }
    std::remove(capture.c_str());
    size_t lastSpeed = 0, lastDisable = 0, keepAlivesAfterDisable = 0;
    for (size_t i = 0; i < frames.size(); ++i) {
      const uint32_t id = frames[i].id;
      if (id == can::kSetMotorSpeed + 5) lastSpeed = i + 1;
      if (id == can::kDisableMotor + 5 && frames[i].data.at(0) == 1) {
        lastDisable = i + 1;
        keepAlivesAfterDisable = 0;
      }
      if (lastDisable != 0 &&
          (id == can::kKeepAliveActive + 5 || id == can::kKeepAliveInactive + 5)) {
        ++keepAlivesAfterDisable;
      }
    }
    EXPECT_GT(lastSpeed, 0u) << strsignal(signal);
    EXPECT_GT(lastDisable, lastSpeed) << strsignal(signal);
    EXPECT_LE(keepAlivesAfterDisable, 2u) << strsignal(signal);
  }
}

}  // namespace
}  // namespace brova::testing
