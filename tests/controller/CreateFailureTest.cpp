// A create that fails after the platform gave it a handle: the seam makes thread creation fail.
#include <system_error>

#include "BrovaDriver.h"
#include "controller/KeepAlive.h"
#include "support/SimTest.h"

namespace brova::testing {
namespace {

std::thread refuseThread(void (*)(controller::KeepAliveTask*), controller::KeepAliveTask*) {
  throw std::system_error(std::make_error_code(std::errc::resource_unavailable_try_again));
}

class CreateFailure : public SimTest {
 protected:
  void SetUp() override {
    SimTest::SetUp();
    controller::startThread = refuseThread;
  }
  void TearDown() override {
    controller::startThread = saved_;
    SimTest::TearDown();
  }

 private:
  controller::ThreadStarter saved_ = controller::startThread;
};

TEST_F(CreateFailure, ThreadThatCannotStartFailsCreateAndReleasesItsHandle) {
  const struct {
    const char* model;
    int32_t (*create)(bool* flag);
  } rows[] = {
      {"BrovaQuad", [](bool* flag) { return c_BrovaQuad_create(5, 1000, flag, 1); }},
      {"BrovaSmall", [](bool* flag) { return c_BrovaSmall_create(5, 1000, flag); }},
  };
  for (const auto& row : rows) {
    brovasim::can::reset();
    brovasim::can::setRecording(true);
    bool flag = true;
    captureConsole();
    EXPECT_EQ(row.create(&flag), 0) << row.model;
    EXPECT_EQ(console(), "Brova could not be initialized\n") << row.model;
    const auto inits = brovasim::can::initializations();
    ASSERT_EQ(inits.size(), 1u);
    EXPECT_EQ(brovasim::can::cleanedHandles(), std::vector<int32_t>{inits[0].handle});
    // Steps before the failure stay done: configure frame sent, flag written.
    EXPECT_EQ(sent(0x020C0285).size(), 1u) << row.model;
    EXPECT_FALSE(flag);
  }
}

}  // namespace
}  // namespace brova::testing
