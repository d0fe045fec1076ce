// dump on the simulated bus: every frame, sent or answered, in the controllers' message names.
#include <future>

#include "BrovactlTest.h"
#include "can/Identifiers.h"

namespace brova::testing {
namespace {

class Dump : public BrovactlTest {};

TEST_F(Dump, PrintsFramesInTheControllersMessageNamesUpToTheCount) {
  auto dump = std::async(std::launch::async, [] {
    return run({"dump", "--count", "3", "--seconds", "20"});
  });
  // The dump subscribes when it starts: keep frames coming until it has its three.
  while (dump.wait_for(20ms) != std::future_status::ready) {
    brovasim::can::putFrame(can::kDeviceIdReply + 5, {5});
  }
  const Outcome result = dump.get();
  EXPECT_EQ(result.status, 0) << result.err;
  size_t lines = 0;
  for (size_t at = 0; (at = result.out.find("  dev 5  device id  5\n", at)) != std::string::npos;
       ++at)
    ++lines;
  EXPECT_EQ(lines, 3u) << result.out;
  EXPECT_EQ(std::count(result.out.begin(), result.out.end(), '\n'), 3) << result.out;
}

TEST_F(Dump, SilentBusEndsAtTheTimeWithExitOne) {
  const auto started = std::chrono::steady_clock::now();
  const Outcome result = run({"dump", "--seconds", "0.2"});
  EXPECT_GE(std::chrono::steady_clock::now() - started, 200ms);
  EXPECT_EQ(result.status, 1);
  EXPECT_EQ(result.out, "");
  EXPECT_CONTAINS(result.err, "no frame");
}

}  // namespace
}  // namespace brova::testing
