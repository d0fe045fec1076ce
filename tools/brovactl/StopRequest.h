// A request to stop the running command as soon as it safely can: Ctrl-C or SIGTERM (relayed by
// main), or a test. Waits end early when it comes, so a spin stops its motor at once.
#pragma once

#include <chrono>

namespace brovactl {

using Clock = std::chrono::steady_clock;

void requestStop();
// Forgets an earlier request; each run starts without one.
void clearStopRequest();
bool stopRequested();
// Waits until `deadline` or a stop request; true when stopped by the request.
bool waitUntilOrStop(Clock::time_point deadline);

}  // namespace brovactl
