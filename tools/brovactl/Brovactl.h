// brovactl: the bench tool for BrovaQuad and BrovaSmall controllers. The whole tool behind one
// call, so tests run its commands in-process against the simulated platform.
#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace brovactl {

// Runs `arguments` (without the program name); returns the exit status: 0 done, 1 nothing
// answered or the operation failed, 2 bad usage. A stop request (requestStop) ends a running
// command early and safely.
int runBrovactl(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err);

}  // namespace brovactl
