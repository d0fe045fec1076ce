// The command line: help for every command, and usage errors that exit 2 naming the problem.
#include "BrovactlTest.h"

namespace brova::testing {
namespace {

class Usage : public BrovactlTest {};

TEST_F(Usage, HelpWorksAtTopLevelAndForEveryCommand) {
  const struct {
    std::vector<std::string> arguments;
    std::string firstLine;
  } rows[] = {
      {{"--help"}, "usage: brovactl <command> [options]"},
      {{"-h"}, "usage: brovactl <command> [options]"},
      {{"scan", "--help"}, "usage: brovactl scan"},
      {{"info", "--help"}, "usage: brovactl info"},
      {{"watch", "-h"}, "usage: brovactl watch"},
      {{"spin", "--help"}, "usage: brovactl spin"},
      {{"dump", "--help"}, "usage: brovactl dump"},
      // Help wins over anything else given, and sends nothing.
      {{"spin", "--quad", "5", "--help"}, "usage: brovactl spin"},
  };
  for (const auto& row : rows) {
    const Outcome result = run(row.arguments);
    EXPECT_EQ(result.status, 0) << row.firstLine;
    EXPECT_EQ(result.out.substr(0, result.out.find('\n')).find(row.firstLine), 0u) << result.out;
    EXPECT_EQ(result.err, "");
  }
  EXPECT_TRUE(sent().empty());
  // Each command's help names the option that picks the bus.
  const std::string scanHelp = run({"scan", "--help"}).out;
  EXPECT_CONTAINS(scanHelp, "--simulate LIST");
}

TEST_F(Usage, BadCommandLinesExitTwoWithAMessage) {
  const struct {
    std::vector<std::string> arguments;
    std::string message;
  } rows[] = {
      {{}, "usage: brovactl <command>"},
      {{"fly"}, "unknown command 'fly'"},
      {{"scan", "--bogus"}, "unknown option --bogus"},
      {{"scan", "extra"}, "unexpected argument 'extra'"},
      {{"scan", "--wait"}, "--wait needs a value"},
      {{"scan", "--wait", "0"}, "--wait must be a whole number in 1..1000, not '0'"},
      {{"info"}, "give exactly one of --device N, --quad N or --small N"},
      {{"info", "--quad", "5", "--small", "7"}, "give exactly one of"},
      {{"info", "--device", "64"}, "--device must be a whole number in 1..63, not '64'"},
      {{"info", "--quad", "5x"}, "--quad must be a whole number in 1..63, not '5x'"},
      {{"watch", "--device", "5"}, "unknown option --device"},
      {{"watch", "--quad", "5", "--count", "0"}, "--count must be a whole number"},
      {{"watch", "--quad", "5", "--interval", "5"},
       "--interval must be a whole number in 10..60000"},
      {{"watch", "--quad", "5", "--quad", "6"}, "--quad given twice"},
      {{"spin", "--quad", "5", "--speed", "0.5", "--seconds", "1"}, "--quad needs --motor M"},
      {{"spin", "--small", "7", "--motor", "0", "--speed", "0.5", "--seconds", "1"},
       "--motor is for a BrovaQuad"},
      {{"spin", "--quad", "5", "--motor", "4", "--speed", "0.5", "--seconds", "1"},
       "--motor must be a whole number in 0..3"},
      {{"spin", "--quad", "5", "--motor", "1", "--speed", "1.5", "--seconds", "1"},
       "--speed must be a number in -1..1, not '1.5'"},
      {{"spin", "--quad", "5", "--motor", "1", "--speed", "nan", "--seconds", "1"},
       "--speed must be a number"},
      {{"spin", "--quad", "5", "--motor", "1", "--seconds", "1"}, "--speed S (-1..1) is needed"},
      {{"spin", "--quad", "5", "--motor", "1", "--speed", "0.5"}, "--seconds T is needed"},
      {{"spin", "--small", "7", "--speed", "0.5", "--seconds", "1", "--frequency", "20001"},
       "--frequency must be a whole number in 0..20000"},
      {{"spin", "--small", "7", "--speed", "0.5", "--seconds", "1", "--enable", "yes"},
       "unexpected argument 'yes'"},
      {{"dump", "--seconds", "-1"}, "--seconds must be a number in 0..86400"},
      {{"scan", "--simulate", "robot:5"}, "'robot:5' is not quad:N or small:N"},
      {{"scan", "--simulate", "quad:99"}, "must be a whole number in 1..63"},
      {{"scan", "--bus", "25"},
       BROVA_HAL >= 2027 ? "--bus must be a whole number in 0..24"
                         : "--bus must be a whole number in 0..0"},
      {{"info", "--quad", "5", "--bus", "x"}, "--bus must be a whole number"},
  };
  for (const auto& row : rows) {
    const Outcome result = run(row.arguments);
    EXPECT_EQ(result.status, 2) << row.message;
    EXPECT_CONTAINS(result.err, row.message);
    EXPECT_EQ(result.out, "") << row.message;
  }
  // A usage error is found before anything reaches the bus.
  EXPECT_TRUE(sent().empty());
  EXPECT_TRUE(brovasim::can::initializations().empty());
}

TEST_F(Usage, SimulateAttachesControllersForTheRunOnly) {
  const Outcome result = run({"scan", "--simulate", "quad:5,small:7"});
  EXPECT_EQ(result.status, 0) << result.err;
  EXPECT_CONTAINS(result.out, "device 5  BrovaQuad");
  EXPECT_CONTAINS(result.out, "device 7  BrovaSmall");
  brovasim::can::removeAllFrames();
  EXPECT_EQ(run({"scan", "--wait", "2"}).status, 1);
}

// With --bus, the simulated controllers sit on that bus and every command asks there only.
TEST_F(Usage, BusNamesWhereControllersAreAttachedAndAsked) {
  if (BROVA_HAL < 2027) GTEST_SKIP() << "the 2026 HAL has bus 0 only";
  const Outcome onTwo = run({"info", "--quad", "5", "--simulate", "quad:5", "--bus", "2"});
  EXPECT_EQ(onTwo.status, 0) << onTwo.err;
  EXPECT_CONTAINS(onTwo.out, "BrovaQuad");
  for (const auto& f : sent()) EXPECT_EQ(f.bus, 2) << std::hex << f.id;
  EXPECT_FALSE(sent().empty());
  // Controllers on bus 2 do not answer a scan of bus 0.
  auto options = brovasim::SimController::defaults(brovasim::SimController::Model::Quad);
  options.bus = 2;
  auto quad = brovasim::SimController::attach(brovasim::SimController::Model::Quad, 5, options);
  EXPECT_EQ(run({"scan", "--wait", "2"}).status, 1);
}

}  // namespace
}  // namespace brova::testing
