// Opening and closing controllers, and their keep-alive frames, through the exported functions.
#include <algorithm>
#include <thread>
#include <vector>

#include "BrovaDriver.h"
#include "support/SimTest.h"

namespace brova::testing {
namespace {

constexpr uint32_t kConfigureMotor = 0x020C0280;
constexpr uint32_t kKeepAliveInactive = 0x020C0500;
constexpr uint32_t kKeepAliveActive = 0x020C0540;

// Both models behind one signature, so the lifecycle rules are tested once for each.
struct ModelUnderTest {
  const char* name;
  int32_t (*create)(int16_t device, int16_t frequency, bool* flag);
  void (*destroy)(int32_t handle);
  const char* greeting;
};

void PrintTo(const ModelUnderTest& model, std::ostream* out) { *out << model.name; }

const ModelUnderTest kModels[] = {
    {"BrovaQuad",
     [](int16_t d, int16_t f, bool* flag) { return c_BrovaQuad_create(d, f, flag, 0); },
     c_BrovaQuad_destroy, ""},
    {"BrovaSmall", c_BrovaSmall_create, c_BrovaSmall_destroy, "Brova Initialized\n"},
};

class Lifecycle : public SimTest, public ::testing::WithParamInterface<ModelUnderTest> {
 protected:
  void TearDown() override {
    for (int32_t handle : handles_) GetParam().destroy(handle);
    SimTest::TearDown();
  }

  int32_t open(int16_t device, int16_t frequency = 1000, bool* flag = nullptr) {
    const int32_t handle = GetParam().create(device, frequency, flag);
    if (handle != 0) handles_.push_back(handle);
    return handle;
  }

  void close(int32_t handle) {
    GetParam().destroy(handle);
    std::erase(handles_, handle);
  }

 private:
  std::vector<int32_t> handles_;
};

TEST_P(Lifecycle, RejectsArgumentsOutOfRangeWithOneLineAndNoEffect) {
  const struct {
    int16_t device;
    int16_t frequency;
    const char* line;
  } rows[] = {
      {0, 1000, "Device ID out of range [1;63]\n"},
      {64, 1000, "Device ID out of range [1;63]\n"},
      {-5, 1000, "Device ID out of range [1;63]\n"},
      {INT16_MIN, 1000, "Device ID out of range [1;63]\n"},
      {0, 30000, "Device ID out of range [1;63]\n"},
      {5, -1, "Motor frequency out of range [0;20000]\n"},
      {5, 20001, "Motor frequency out of range [0;20000]\n"},
      {63, INT16_MAX, "Motor frequency out of range [0;20000]\n"},
  };
  for (const auto& row : rows) {
    bool flag = true;
    captureConsole();
    EXPECT_EQ(open(row.device, row.frequency, &flag), 0);
    EXPECT_EQ(console(), row.line) << row.device << ", " << row.frequency;
    EXPECT_TRUE(flag);
  }
  EXPECT_TRUE(sent().empty());
  EXPECT_TRUE(brovasim::can::initializations().empty());
}

TEST_P(Lifecycle, AcceptsTheEdgesOfTheRanges) {
  const struct {
    int16_t device;
    int16_t frequency;
  } rows[] = {{1, 0}, {63, 20000}};
  for (const auto& row : rows) {
    captureConsole();
    EXPECT_NE(open(row.device, row.frequency), 0);
    EXPECT_EQ(console(), GetParam().greeting);
  }
}

TEST_P(Lifecycle, OpensTheHandleAsAMotorControllerOfManufacturer12) {
  const int32_t handle = open(5);
  const auto inits = brovasim::can::initializations();
  ASSERT_EQ(inits.size(), 1u);
  EXPECT_EQ(inits[0].manufacturer, 12);
  EXPECT_EQ(inits[0].deviceId, 5);
  EXPECT_EQ(inits[0].deviceType, 2);
  EXPECT_EQ(inits[0].handle, handle);
}

TEST_P(Lifecycle, CreateSetsTheFlagFalseAndToleratesNoFlag) {
  bool flag = true;
  EXPECT_NE(open(5, 1000, &flag), 0);
  EXPECT_FALSE(flag);
  flag = true;  // Has no effect on the task.
  EXPECT_NE(open(6, 1000, nullptr), 0);
  EXPECT_TRUE(waitForFrames(kKeepAliveInactive + 5, 2));
}

TEST_P(Lifecycle, KeepAliveTellsWhetherTheSystemIsActive) {
  brovasim::can::setSystemActive(false);
  open(5);
  EXPECT_TRUE(waitForFrames(kKeepAliveInactive + 5, 1));
  brovasim::can::setSystemActive(true);
  EXPECT_TRUE(waitForFrames(kKeepAliveActive + 5, 1));
  for (const auto& frame : sent()) {
    if (frame.id == kConfigureMotor + 5) continue;
    EXPECT_TRUE(frame.id == kKeepAliveInactive + 5 || frame.id == kKeepAliveActive + 5);
    EXPECT_EQ(frame.data, Bytes{});
    EXPECT_EQ(frame.size, 8);
    EXPECT_EQ(frame.periodMs, 0);
  }
}

TEST_P(Lifecycle, ActiveThenInactiveInOnePassSendsNothingThatPass) {
  // Pass 1 asks twice (active, then not); pass 2 asks once (not active).
  brovasim::can::scriptSystemActive({true, false, false});
  open(5);
  ASSERT_TRUE(waitForFrames(kKeepAliveInactive + 5, 1));
  const auto frames = sent();
  ASSERT_EQ(frames.size(), 2u);
  EXPECT_EQ(frames[1].id, kKeepAliveInactive + 5);
  // The only keep-alive frame came from the second pass, a period after the configure frame.
  EXPECT_GE(frames[1].time - frames[0].time, 90ms);
  EXPECT_TRUE(sent(kKeepAliveActive + 5).empty());
}

#if BROVA_HAL >= 2027
// The 2027 robot controller's HAL does not answer HAL_GetSystemActive (it reports -1098 and
// false): the keep-alive then follows the Driver Station's control word. Where it does answer,
// its answer stands whatever the word says.
TEST_P(Lifecycle, KeepAliveFollowsTheControlWordWhereSystemActiveIsUnsupported) {
  constexpr int64_t kEnabled = 0x0400000000000000;
  constexpr int64_t kEStop = 0x0800000000000000;
  constexpr int64_t kAttached = 0x2000000000000000;
  const struct {
    const char* what;
    bool supported;
    bool systemActive;
    int64_t word;
    int32_t wordResult;
    uint32_t expected;
  } rows[] = {
      {"enabled", false, false, kEnabled | kAttached, 0, kKeepAliveActive},
      {"disabled", false, true, kAttached, 0, kKeepAliveInactive},
      {"enabled but e-stopped", false, true, kEnabled | kEStop | kAttached, 0, kKeepAliveInactive},
      {"no Driver Station", false, true, kEnabled, 0, kKeepAliveInactive},
      {"word not read", false, true, kEnabled | kAttached, -1, kKeepAliveInactive},
      {"supported and active", true, true, 0, 0, kKeepAliveActive},
      {"supported and not active", true, false, kEnabled | kAttached, 0, kKeepAliveInactive},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.what);
    brovasim::can::reset();
    brovasim::can::setRecording(true);
    brovasim::can::setSystemActiveSupported(row.supported);
    brovasim::can::setSystemActive(row.systemActive);
    brovasim::can::setControlWord(row.word, row.wordResult);
    const int32_t handle = open(5);
    EXPECT_TRUE(waitForFrames(row.expected + 5, 2));
    close(handle);
    const uint32_t other = row.expected == kKeepAliveActive ? kKeepAliveInactive : kKeepAliveActive;
    EXPECT_TRUE(sent(other + 5).empty());
  }
}
#endif

TEST_P(Lifecycle, KeepAliveFramesComeAbout100msApart) {
  open(5);
  ASSERT_TRUE(waitForFrames(kKeepAliveInactive + 5, 6));
  const auto frames = sent(kKeepAliveInactive + 5);
  std::vector<decltype(frames[0].time - frames[0].time)> gaps;
  for (size_t i = 1; i < frames.size(); ++i) {
    gaps.push_back(frames[i].time - frames[i - 1].time);
    EXPECT_GE(gaps.back(), 99ms);
  }
  // The middle gap: a loaded machine may hold the thread up once, a period of 200 ms or more
  // shows in most gaps.
  std::sort(gaps.begin(), gaps.end());
  EXPECT_LT(gaps[gaps.size() / 2], 200ms);
}

TEST_P(Lifecycle, DestroyReleasesTheHandleAndStopsItsKeepAlive) {
  const int32_t handle = open(5);
  ASSERT_TRUE(waitForFrames(kKeepAliveInactive + 5, 1));
  close(handle);
  EXPECT_EQ(brovasim::can::cleanedHandles(), std::vector<int32_t>{handle});
  EXPECT_TRUE(brovasim::can::openHandles().empty());
  const size_t after = sent(kKeepAliveInactive + 5).size();
  std::this_thread::sleep_for(250ms);
  EXPECT_EQ(sent(kKeepAliveInactive + 5).size(), after);
}

TEST_P(Lifecycle, DestroyStopsOnlyTheTaskOfItsOwnCreate) {
  const int32_t first = open(5);
  open(7);
  close(first);
  brovasim::can::clearSentFrames();
  ASSERT_TRUE(waitForFrames(kKeepAliveInactive + 7, 2));
  EXPECT_TRUE(sent(kKeepAliveInactive + 5).empty());
}

TEST_P(Lifecycle, DestroyAnyNumberOfTimesAndWithUnknownHandles) {
  const int32_t handle = open(5);
  close(handle);
  close(handle);
  GetParam().destroy(0);
  GetParam().destroy(-12345);
  EXPECT_EQ(brovasim::can::cleanedHandles(), (std::vector<int32_t>{handle, handle, 0, -12345}));
}

TEST_P(Lifecycle, TwoCreatesRunTwoTasks) {
  open(5);
  open(7);
  EXPECT_TRUE(waitForFrames(kKeepAliveInactive + 5, 2));
  EXPECT_TRUE(waitForFrames(kKeepAliveInactive + 7, 2));
}

TEST_P(Lifecycle, PlatformErrorAtInitialisationStillOpensTheController) {
  brovasim::can::failNextInitializations(-1029);
  brovasim::can::setNextHandle(-42);
  captureConsole();
  EXPECT_EQ(open(5), -42);
  EXPECT_EQ(console(), GetParam().greeting);
  EXPECT_EQ(sent(kConfigureMotor + 5).size(), 1u);
  EXPECT_TRUE(waitForFrames(kKeepAliveInactive + 5, 1));
}

TEST_P(Lifecycle, CreatesFromManyThreadsAtOnce) {
  std::vector<std::thread> threads;
  std::vector<int32_t> handles(8);
  for (int i = 0; i < 8; ++i) {
    threads.emplace_back(
        [&, i] { handles[i] = GetParam().create(int16_t(10 + i), 1000, nullptr); });
  }
  for (auto& t : threads) t.join();
  for (int32_t handle : handles) {
    EXPECT_NE(handle, 0);
    close(handle);
  }
  EXPECT_EQ(brovasim::can::cleanedHandles().size(), 8u);
}

INSTANTIATE_TEST_SUITE_P(BothModels, Lifecycle, ::testing::ValuesIn(kModels),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(QuadLifecycle, FirstFramesAfterCreateAreConfigureThenKeepAlive) {
  brovasim::can::reset();
  brovasim::can::setRecording(true);
  brovasim::can::setSystemActive(true);
  const int32_t handle = c_BrovaQuad_create(5, 1000, nullptr, 2);
  ASSERT_TRUE(brovasim::can::waitForSent([](const auto& f) { return f.size() >= 2; }, 1s));
  c_BrovaQuad_destroy(handle);
  const auto frames = brovasim::can::sentFrames();
  EXPECT_EQ(frames[0].id, 0x020C0285u);
  EXPECT_EQ(frames[0].data, (Bytes{0x02, 0xE8, 0x03, 0, 0, 0, 0, 0}));
  EXPECT_EQ(frames[1].id, 0x020C0545u);
  // The first pass runs at once: one that waited a period would come 100 ms or more after.
  EXPECT_LT(frames[1].time - frames[0].time, 100ms);
}

TEST(SmallLifecycle, ConfigureFrameCarriesMotorZero) {
  brovasim::can::reset();
  brovasim::can::setRecording(true);
  const int32_t handle = c_BrovaSmall_create(7, 20000, nullptr);
  c_BrovaSmall_destroy(handle);
  const auto frames = brovasim::can::sentFrames(0x020C0287);
  ASSERT_EQ(frames.size(), 1u);
  EXPECT_EQ(frames[0].data, (Bytes{0x00, 0x20, 0x4E, 0, 0, 0, 0, 0}));
}

}  // namespace
}  // namespace brova::testing
