// The C++ object API: lifecycle, argument checks, the same frames as the C entry points, and
// telemetry read on the library's shared threads; and the rows of object-behaviour.tsv, which
// the Java objects' tests read too.
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "BrovaDriver.hpp"
#include "brovasim/SimAnalogBoard.h"
#include "brovasim/SimController.h"
#include "support/SimTest.h"
#include "support/Threads.h"

namespace brova::testing {
namespace {

class ObjectApi : public SimTest {
 protected:
  void SetUp() override {
    SimTest::SetUp();
    captureConsole();  // create's greeting and missing-reply lines stay out of the test log
  }
};

TEST_F(ObjectApi, OpenCloseReopenAndOneObjectADevice) {
  {
    BrovaQuad quad(5);
    EXPECT_EQ(quad.getDeviceNumber(), 5);
    try {
      BrovaSmall second(5);
      FAIL() << "a second object opened on device 5";
    } catch (const std::logic_error& e) {
      EXPECT_STREQ(e.what(), "BrovaQuad on device 5 is already open; close it first");
    }
    BrovaQuad other(7);  // another device is fine
    BrovaSmall small(8);
    quad.close();
    quad.close();  // twice is fine
    EXPECT_FALSE(quad.isOpen());
    EXPECT_THROW(quad.set(0, 0.5), std::logic_error);
    EXPECT_THROW(quad.getCurrent(0), std::logic_error);
    BrovaQuad reopened(6);
    EXPECT_EQ(reopened.getDeviceNumber(), 6);
  }
  BrovaQuad afterScope(5);  // the destructors closed everything
  EXPECT_EQ(brovasim::can::openHandles().size(), 1u);
}

// The C entry points and the objects drive devices through one registry: neither takes a device
// the other drives, whatever the model, and each gets it once the other has let go.
TEST_F(ObjectApi, AnObjectAndTheCEntryPointsNeverShareADevice) {
  const auto refusal = [](auto open) {
    try {
      open();
    } catch (const std::logic_error& e) {
      return std::string(e.what());
    }
    return std::string("opened");
  };
  const int32_t quadHandle = c_BrovaQuad_create(5, 1000, nullptr, 0);
  const int32_t smallHandle = c_BrovaSmall_create(5, 1000, nullptr);  // the C entry points may
  ASSERT_NE(quadHandle, 0);
  ASSERT_NE(smallHandle, 0);
  EXPECT_EQ(refusal([] { BrovaSmall small(5); }),
            "BrovaSmall on device 5 is driven through the C entry points; destroy it there first");
  c_BrovaQuad_destroy(quadHandle);
  EXPECT_EQ(refusal([] { BrovaQuad quad(5); }),
            "BrovaQuad on device 5 is driven through the C entry points; destroy it there first");
  c_BrovaSmall_destroy(smallHandle);
  EXPECT_EQ(brovasim::can::openHandles().size(), 0u);

  BrovaQuad quad(5);
  console();
  captureConsole();
  brovasim::can::clearSentFrames();
  EXPECT_EQ(c_BrovaSmall_create(5, 1000, nullptr), 0);
  EXPECT_EQ(console(),
            "BrovaQuad on device 5 is open as an object; the create is refused until it is "
            "closed\n");
  for (const auto& f : sent()) {  // the object's keep-alive may go out meanwhile; nothing else
    EXPECT_EQ(f.id & ~0x7Fu, 0x020C0500u) << "the refused create sent " << std::hex << f.id;
  }
  EXPECT_EQ(brovasim::can::openHandles().size(), 1u);
  if constexpr (BROVA_HAL >= 2027) {
    BrovaQuad onAnotherBus(6, CanBus{2});
    const int32_t beside = c_BrovaQuad_create(6, 1000, nullptr, 0);  // bus 0's device 6
    EXPECT_NE(beside, 0);
    c_BrovaQuad_destroy(beside);
  }
  quad.close();
  const int32_t again = c_BrovaSmall_create(5, 1000, nullptr);
  EXPECT_NE(again, 0);
  c_BrovaSmall_destroy(again);
}

TEST_F(ObjectApi, MovingKeepsOneOpenController) {
  BrovaQuad first(5);
  BrovaQuad moved(std::move(first));
  EXPECT_FALSE(first.isOpen());
  EXPECT_TRUE(moved.isOpen());
  BrovaQuad target(std::move(moved));
  target = BrovaQuad(std::move(target));
  EXPECT_TRUE(target.isOpen());
  EXPECT_EQ(brovasim::can::openHandles().size(), 1u);
}

// The range edges, NaN speeds, periods and channels one past the end are rows of
// object-behaviour.tsv; here the values a narrowing cast would wrap into range, and a quantity
// the Java objects' enum cannot name.
TEST_F(ObjectApi, ArgumentsOutsideTheirRangeAreRefused) {
  BrovaQuad quad(5);
  const struct {
    const char* name;
    std::function<void()> call;
  } rows[] = {
      {"motor 260", [&] { quad.getCurrent(260); }},
      {"frequency 70000", [&] { quad.setFrequency(0, 70000); }},
      {"device 65541", [] { BrovaQuad bad(65541); }},
      {"quantity bit 4",
       [&] {
         quad.startTelemetry(std::chrono::milliseconds(20), TelemetryChoice{.quantities = 16});
       }},
  };
  brovasim::can::clearSentFrames();
  for (const auto& row : rows) EXPECT_THROW(row.call(), std::invalid_argument) << row.name;
  // Refused before anything reached the bus (keep-alive frames aside).
  for (const auto& f : sent()) EXPECT_EQ(f.id & ~0x7Fu, 0x020C0500u) << std::hex << f.id;
  EXPECT_EQ(quad.getDeviceNumber(), 5);  // the refused open left the open one alone
}

TEST_F(ObjectApi, OpeningConfiguresEveryChannel) {
  BrovaQuad quad(5, 1000);
  const auto frames = sent(0x020C0285);
  ASSERT_EQ(frames.size(), 4u);
  for (uint8_t motor = 0; motor < 4; ++motor) {
    EXPECT_EQ(frames[motor].data, (Bytes{motor, 0xE8, 0x03, 0, 0, 0, 0, 0}));
  }
}

// Each object call puts on the bus exactly what the matching C entry point puts there.
TEST_F(ObjectApi, CallsSendWhatTheEntryPointsSend) {
  // The entry points and the objects never drive one device at once: the entry points' frames
  // first, the objects' once they are destroyed. The entry points address their model's most
  // recent create, whatever handle they are given.
  bool flag = false;
  const int32_t rawQuad = c_BrovaQuad_create(5, 15000, &flag, 0);
  const int32_t rawSmall = c_BrovaSmall_create(7, 15000, &flag);
  std::optional<BrovaQuad> quadObject;
  std::optional<BrovaSmall> smallObject;
  auto& quad = quadObject;
  auto& small = smallObject;
  const struct {
    const char* name;
    std::function<void()> object;
    std::function<void()> raw;
  } rows[] = {
      {"set", [&] { quad->set(2, -0.75); }, [] { c_BrovaQuad_setMotorSpeed(0, 2, -0.75); }},
      {"disable", [&] { quad->disable(3); }, [] { c_BrovaQuad_disableMotor(0, 3); }},
      {"frequency", [&] { quad->setFrequency(1, 20000); },
       [] { c_BrovaQuad_configureMotor(0, 20000, 1); }},
      {"reset", [&] { quad->resetEncoder(1); }, [] { c_BrovaQuadEncoder_resetEncoder(0, 1); }},
      {"current", [&] { quad->getCurrentBlocking(2); }, [] { c_BrovaQuad_getCurrent(0, 2); }},
      {"rpm", [&] { quad->getRPMBlocking(1); }, [] { c_BrovaQuad_getRPM(0, 1); }},
      {"encoder", [&] { quad->getEncoderDistanceBlocking(3); },
       [] { c_BrovaQuadEncoder_getEncoderDistance(0, 3, 1.0, 0, nullptr); }},
      {"small set", [&] { small->set(1.0); }, [] { c_BrovaSmall_setMotorSpeed(0, 1.0); }},
      {"small disable", [&] { small->disable(); }, [] { c_BrovaSmall_disableMotor(0); }},
  };
  auto framesOf = [](const std::function<void()>& call) {
    brovasim::can::clearSentFrames();
    call();
    auto frames = sent();
    std::erase_if(frames, [](const auto& f) { return (f.id & ~0x7Fu) == 0x020C0500u; });
    std::vector<std::pair<uint32_t, Bytes>> result;
    for (const auto& f : frames) result.emplace_back(f.id, f.data);
    return result;
  };
  std::vector<std::vector<std::pair<uint32_t, Bytes>>> raw;
  for (const auto& row : rows) raw.push_back(framesOf(row.raw));
  c_BrovaQuad_destroy(rawQuad);
  c_BrovaSmall_destroy(rawSmall);
  quad.emplace(5);
  small.emplace(7);
  for (std::size_t i = 0; i < std::size(rows); ++i) {
    const auto object = framesOf(rows[i].object);
    EXPECT_FALSE(object.empty()) << rows[i].name;
    EXPECT_EQ(object, raw[i]) << rows[i].name;
  }
}

TEST_F(ObjectApi, CachedTelemetryFollowsTheMotorAndGettersNeverWait) {
  auto sim = brovasim::SimController::attach(brovasim::SimController::Model::Quad, 5);
  BrovaQuad quad(5);
  EXPECT_FALSE(quad.getRPM(1).present());
  EXPECT_TRUE(std::isnan(quad.getRPM(1).value));
  EXPECT_FALSE(quad.getRPM(1).age() < std::chrono::hours(24 * 365));  // never read: no age
  quad.setDistancePerTick(1, 0.5);
  brovasim::can::setSystemActive(true);
  quad.set(1, 0.6);
  const auto started = Clock::now();
  quad.startTelemetry(std::chrono::milliseconds(20));
  std::this_thread::sleep_for(std::chrono::milliseconds(800));
  const Reading rpm = quad.getRPM(1);
  ASSERT_TRUE(rpm.present());
  EXPECT_GT(rpm.value, 2000.0);  // 0.6 of 5000 rpm, most of the way there after 0.8 s
  // Read since the telemetry started: the age is no older than that.
  const auto age = rpm.age();
  EXPECT_LE(age, Clock::now() - started);
  EXPECT_GT(quad.getEncoderDistance(1).value, 0.5 * 2048 * 5);  // over five revolutions
  EXPECT_GT(quad.getCurrent(1).value, 0.0);
  EXPECT_GE(quad.getTemperature().value, 25.0);
  EXPECT_EQ(quad.getRPM(0).value, 0.0);  // read, and at rest
  quad.stopTelemetry();
  // No longer confirmed: stale (or missing, had a reply been late on a loaded machine), the
  // value kept.
  const Reading kept = quad.getRPM(0);
  EXPECT_FALSE(kept.fresh()) << toString(kept.state);
  EXPECT_EQ(kept.value, 0.0);
}

TEST_F(ObjectApi, OneKeepAliveAndOneTelemetryThreadServeEveryController) {
  auto board = brovasim::attachAnalogBoard();
  board->setInput(2, 1.024);
  // Sanitizer runtimes start threads of their own with a program's first thread: start one, then
  // count from here.
  std::thread([] {}).join();
  const int before = settledThreadCount();
  const int sharedBefore = threadsNamed("brova-devalive") + threadsNamed("brova-telemetry");
  {
    BrovaQuad quad(5);
    BrovaSmall small(7);
    Ferux ferux(5);
    EXPECT_TRUE(ferux.isConnected());
    quad.startTelemetry(std::chrono::milliseconds(10));
    small.startTelemetry(std::chrono::milliseconds(10));
    ferux.startTelemetry(std::chrono::milliseconds(10));
    BrovaQuad another(6);
    another.startTelemetry(std::chrono::milliseconds(10));
    EXPECT_EQ(threadsNamed("brova-devalive"), 1);
    EXPECT_EQ(threadsNamed("brova-telemetry"), 1);
    // The board's telemetry runs on the one telemetry thread too: no thread of its own.
    EXPECT_EQ(settledThreadCount(), before + 2 - sharedBefore);
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    EXPECT_TRUE(ferux.getVoltage(2).fresh());
    EXPECT_FLOAT_EQ(ferux.getVoltage(2).value, 2.5f);
    EXPECT_DOUBLE_EQ(ferux.getVoltageBlocking(2), 2.5);
    EXPECT_THROW(ferux.getVoltage(4), std::invalid_argument);
    EXPECT_THROW(Ferux another(5), std::logic_error);
    quad.stopTelemetry();
    EXPECT_FALSE(quad.telemetryRunning());
  }
  // The two shared threads stay for the next objects.
  EXPECT_EQ(settledThreadCount(), before + 2 - sharedBefore);
}

// ---- The behaviour the Java objects share: tests/objects/object-behaviour.tsv ----

// One row of the table, as its header comment describes.
struct Row {
  int line = 0;
  std::string object, state, operation;
  std::vector<std::string> arguments;
  std::string outcome, names;
  std::vector<std::string> frames;
  std::string then;
  std::string problem;  // why the row could not be read
};

// Names the row in failure messages by its line in the table.
void PrintTo(const Row& row, std::ostream* os) {
  *os << "line " << row.line << ": " << row.object << " " << row.state << " " << row.operation;
}

std::vector<std::string> words(const std::string& text) {
  std::vector<std::string> result;
  std::istringstream in(text);
  for (std::string word; in >> word;) result.push_back(word);
  if (result == std::vector<std::string>{"-"}) result.clear();
  return result;
}

std::vector<Row> readTable() {
  std::vector<Row> rows;
  std::ifstream in(BROVA_OBJECT_BEHAVIOUR_TABLE);
  const std::string header = "object\tstate\toperation\targuments\toutcome\tnames\tframes\tthen";
  bool sawHeader = false;
  int number = 0;
  for (std::string line; std::getline(in, line);) {
    ++number;
    if (line.empty() || line[0] == '#') continue;
    if (!sawHeader) {
      sawHeader = line == header;
      if (!sawHeader) {
        Row wrong;
        wrong.line = number;
        wrong.problem = "expected the header " + header;
        rows.push_back(wrong);
      }
      continue;
    }
    std::vector<std::string> fields;
    std::istringstream cells(line);
    for (std::string cell; std::getline(cells, cell, '\t');) fields.push_back(cell);
    Row row;
    row.line = number;
    if (fields.size() != 8) {
      row.problem = "expected 8 tab-separated fields";
    } else {
      row.object = fields[0];
      row.state = fields[1];
      row.operation = fields[2];
      row.arguments = words(fields[3]);
      row.outcome = fields[4];
      row.names = fields[5];
      row.frames = words(fields[6]);
      row.then = fields[7];
    }
    rows.push_back(row);
  }
  return rows;
}

const std::vector<Row>& table() {
  static const std::vector<Row> rows = readTable();
  return rows;
}

// A result to compare with the table's "=> value": a number, or a cached reading not read yet.
struct Value {
  bool present = true;
  double value = 0;
};

std::string describe(const std::optional<Value>& v) {
  if (!v) return "nothing";
  return v->present ? std::to_string(v->value) : "absent";
}

struct Objects {
  std::optional<BrovaQuad> quad;
  std::optional<BrovaSmall> small;
  std::optional<Ferux> ferux;
};

int integer(const std::vector<std::string>& args, size_t i) { return std::stoi(args.at(i)); }

// An open's arguments: a word bus:N names the bus, the others are the constructor's.
struct OpenArguments {
  std::optional<int> bus;
  std::vector<std::string> rest;
};

OpenArguments openArguments(const std::vector<std::string>& args) {
  OpenArguments result;
  for (const std::string& word : args) {
    if (word.starts_with("bus:")) {
      result.bus = std::stoi(word.substr(4));
    } else {
      result.rest.push_back(word);
    }
  }
  return result;
}

// The bus a state "open:N" opens the row's object on; 0 for plain "open".
int stateBus(const std::string& state) {
  return state.starts_with("open:") ? std::stoi(state.substr(5)) : 0;
}

// The one bus of the 2026 HAL.
constexpr bool kOnlyBusZero = BROVA_HAL < 2027;
constexpr const char* kOnlyBusZeroRefusal = "this HAL has one CAN bus, bus 0";

template <class Object>
void open(std::optional<Object>& object, const std::vector<std::string>& args) {
  const OpenArguments a = openArguments(args);
  const int number = integer(a.rest, 0);
  if (a.bus) {
    if (a.rest.size() == 1)
      object.emplace(number, CanBus{*a.bus});
    else
      object.emplace(number, CanBus{*a.bus}, integer(a.rest, 1));
  } else if (a.rest.size() == 1) {
    object.emplace(number);
  } else {
    object.emplace(number, integer(a.rest, 1));
  }
}
double number(const std::vector<std::string>& args, size_t i) {
  return std::strtod(args.at(i).c_str(), nullptr);  // reads nan and inf too
}
Value reading(const Reading& r) { return {r.present(), r.value}; }

// A comma-separated list of words as a bit set: bit `bitOf(word)` for each.
uint32_t bits(const std::string& list, const std::function<uint32_t(const std::string&)>& bitOf) {
  uint32_t result = 0;
  std::istringstream in(list);
  for (std::string word; std::getline(in, word, ',');) result |= bitOf(word);
  return result;
}

// The telemetry choice of startTelemetry's arguments after the period.
TelemetryChoice choice(const std::vector<std::string>& a) {
  TelemetryChoice chosen;
  if (a.size() > 1) {
    chosen.quantities = bits(a[1], [](const std::string& name) -> uint32_t {
      if (name == "current") return TelemetryChoice::kCurrent;
      if (name == "rpm") return TelemetryChoice::kRpm;
      if (name == "encoder") return TelemetryChoice::kEncoder;
      if (name == "temperature") return TelemetryChoice::kTemperature;
      ADD_FAILURE() << "no quantity " << name;
      return 0;
    });
  }
  if (a.size() > 2) {
    chosen.channels = bits(a[2], [](const std::string& c) { return 1u << std::stoi(c); });
  }
  return chosen;
}

// The controller of the row's model, for the calls both models have.
detail::ControllerObject* controller(Objects& on, const std::string& object) {
  if (object == "quad" && on.quad) return &*on.quad;
  if (object == "small" && on.small) return &*on.small;
  return nullptr;
}

// Runs `operation` of the table on `on`'s object of kind `object`; "open" opens it, and
// "openQuad" and "openSmall" open one of that model.
std::optional<Value> run(Objects& on, const std::string& object, const std::string& operation,
                         const std::vector<std::string>& a) {
  const auto call = operation == "openQuad"    ? std::string("quad open")
                    : operation == "openSmall" ? std::string("small open")
                                               : object + " " + operation;
  detail::ControllerObject* const either = controller(on, object);
  if (call == "quad open") {
    open(on.quad, a);
  } else if (call == "small open") {
    open(on.small, a);
  } else if (either && operation == "startTelemetry") {
    either->startTelemetry(std::chrono::milliseconds(integer(a, 0)), choice(a));
  } else if (either && operation == "stopTelemetry") {
    either->stopTelemetry();
  } else if (either && operation == "telemetryRunning") {
    return Value{true, either->telemetryRunning() ? 1.0 : 0.0};
  } else if (either && operation == "isConnected") {
    return Value{true, either->isConnected() ? 1.0 : 0.0};
  } else if (either && operation == "isOpen") {
    return Value{true, either->isOpen() ? 1.0 : 0.0};
  } else if (either && operation == "deviceNumber") {
    return Value{true, static_cast<double>(either->getDeviceNumber())};
  } else if (either && operation == "canBus") {
    return Value{true, static_cast<double>(either->getCanBus().getId())};
  } else if (call == "ferux open") {
    if (a.empty())
      on.ferux.emplace();
    else
      on.ferux.emplace(integer(a, 0));
  } else if (call == "quad set") {
    on.quad->set(integer(a, 0), number(a, 1));
  } else if (call == "quad disable") {
    on.quad->disable(integer(a, 0));
  } else if (call == "quad setFrequency") {
    on.quad->setFrequency(integer(a, 0), integer(a, 1));
  } else if (call == "quad resetEncoder") {
    on.quad->resetEncoder(integer(a, 0));
  } else if (call == "quad setDistancePerTick") {
    on.quad->setDistancePerTick(integer(a, 0), number(a, 1));
  } else if (call == "quad distancePerTick") {
    return Value{true, on.quad->getDistancePerTick(integer(a, 0))};
  } else if (call == "quad encoderDistance") {
    return reading(on.quad->getEncoderDistance(integer(a, 0)));
  } else if (call == "small set") {
    on.small->set(number(a, 0));
  } else if (call == "small disable") {
    on.small->disable();
  } else if (call == "small setFrequency") {
    on.small->setFrequency(integer(a, 0));
  } else if (call == "small resetEncoder") {
    on.small->resetEncoder();
  } else if (call == "small setDistancePerTick") {
    on.small->setDistancePerTick(number(a, 0));
  } else if (call == "small distancePerTick") {
    return Value{true, on.small->getDistancePerTick()};
  } else if (call == "small encoderDistance") {
    return reading(on.small->getEncoderDistance());
  } else if (call == "ferux voltage") {
    return Value{true, on.ferux->getVoltageBlocking(integer(a, 0))};
  } else if (call == "ferux cachedVoltage") {
    return reading(on.ferux->getVoltage(integer(a, 0)));
  } else if (call == "ferux cachedRaw") {
    return reading(on.ferux->getRaw(integer(a, 0)));
  } else if (call == "ferux fullScaleVolts") {
    return Value{true, static_cast<double>(on.ferux->getFullScaleVolts())};
  } else if (call == "ferux startTelemetry") {
    on.ferux->startTelemetry(std::chrono::milliseconds(integer(a, 0)));
  } else if (call == "ferux stopTelemetry") {
    on.ferux->stopTelemetry();
  } else if (call == "ferux telemetryRunning") {
    return Value{true, on.ferux->telemetryRunning() ? 1.0 : 0.0};
  } else if (call == "ferux isConnected") {
    return Value{true, on.ferux->isConnected() ? 1.0 : 0.0};
  } else if (call == "ferux isOpen") {
    return Value{true, on.ferux->isOpen() ? 1.0 : 0.0};
  } else {
    ADD_FAILURE() << "no operation " << call;
  }
  return std::nullopt;
}

// The command frames sent since the bus was cleared, keep-alive frames aside, as IDENTIFIER:bytes.
std::vector<std::string> commandFrames() {
  std::vector<std::string> result;
  for (const auto& f : brovasim::can::sentFrames()) {
    if ((f.id & ~0x7Fu) == 0x020C0500u) continue;
    char text[3 + 8 + 1 + 16 + 1];
    int at = f.bus == 0 ? std::snprintf(text, sizeof text, "%08X:", f.id)
                        : std::snprintf(text, sizeof text, "%d/%08X:", f.bus, f.id);
    for (size_t i = 0; i < f.data.size(); ++i) {
      at += std::snprintf(text + at, sizeof text - at, "%02x", f.data[i]);
    }
    result.emplace_back(text);
  }
  return result;
}

class ObjectApiTable : public ObjectApi, public ::testing::WithParamInterface<Row> {};

TEST(ObjectApiTableFile, HoldsRows) {
  EXPECT_GE(table().size(), 40u) << BROVA_OBJECT_BEHAVIOUR_TABLE;
}

TEST_P(ObjectApiTable, BehavesAsTheJavaObjects) {
  const Row& row = GetParam();
  ASSERT_EQ(row.problem, "") << "line " << row.line;
  const int subjectBus = stateBus(row.state);
  if (kOnlyBusZero && subjectBus != 0) GTEST_SKIP() << "this HAL has bus 0 only";
  Objects subject, movedTo;
  if (row.state.starts_with("open") || row.state == "closed" || row.state == "moved") {
    std::vector<std::string> defaults{row.object == "small" ? "7" : "5"};
    if (subjectBus != 0) defaults.push_back("bus:" + std::to_string(subjectBus));
    run(subject, row.object, "open", defaults);
  }
  if (row.state == "closed") {
    if (subject.quad) subject.quad->close();
    if (subject.small) subject.small->close();
    if (subject.ferux) subject.ferux->close();
  }
  if (row.state == "moved") {
    if (subject.quad) movedTo.quad.emplace(std::move(*subject.quad));
    if (subject.small) movedTo.small.emplace(std::move(*subject.small));
    if (subject.ferux) movedTo.ferux.emplace(std::move(*subject.ferux));
  }
  if (row.state == "refusing") brovasim::can::failNextInitializations(-1029);
  brovasim::can::clearSentFrames();

  Objects opened;
  const bool opening = row.operation.starts_with("open");
  // An open on another bus than 0 is refused where the HAL has that one only, sending nothing.
  const std::optional<int> openBus = opening ? openArguments(row.arguments).bus : std::nullopt;
  const bool refusedBus = kOnlyBusZero && row.outcome == "ok" && openBus.value_or(0) != 0;
  const std::string expectedOutcome = refusedBus ? "invalid-argument" : row.outcome;
  const std::string expectedNames = refusedBus ? kOnlyBusZeroRefusal : row.names;
  const std::vector<std::string> expectedFrames =
      refusedBus ? std::vector<std::string>{} : row.frames;
  std::string outcome = "ok", message;
  std::optional<Value> result;
  try {
    result = run(opening ? opened : subject, row.object, row.operation, row.arguments);
  } catch (const std::invalid_argument& e) {
    outcome = "invalid-argument";
    message = e.what();
  } catch (const std::logic_error& e) {
    outcome = "state-error";
    message = e.what();
  } catch (const std::runtime_error& e) {
    outcome = "refused";
    message = e.what();
  }
  EXPECT_EQ(outcome, expectedOutcome) << message;
  if (expectedNames != "-") {
    EXPECT_NE(message.find(expectedNames), std::string::npos) << message;
  }
  if (expectedFrames != std::vector<std::string>{"*"}) {
    EXPECT_EQ(commandFrames(), expectedFrames);
  }
  if (row.state == "refusing") {
    EXPECT_TRUE(brovasim::can::openHandles().empty());
    Objects again;
    EXPECT_NO_THROW(run(again, row.object, "open", {row.object == "small" ? "7" : "5"}));
  }

  if (row.then == "-" || outcome != "ok") return;
  const auto arrow = row.then.find("=>");
  ASSERT_NE(arrow, std::string::npos) << row.then;
  const auto read = words(row.then.substr(0, arrow));
  const auto expectedText = words(row.then.substr(arrow + 2));
  ASSERT_EQ(expectedText.size(), 1u) << row.then;
  if (!read.empty()) {
    const std::vector<std::string> args(read.begin() + 1, read.end());
    result = run(opening ? opened : subject, row.object, read[0], args);
  }
  const std::optional<Value> expected =
      expectedText[0] == "absent" ? Value{false, 0} : Value{true, std::stod(expectedText[0])};
  ASSERT_TRUE(result.has_value()) << row.then;
  EXPECT_EQ(result->present, expected->present) << describe(result);
  if (expected->present) {
    EXPECT_EQ(result->value, expected->value) << describe(result);
  }
}

INSTANTIATE_TEST_SUITE_P(Rows, ObjectApiTable, ::testing::ValuesIn(table()),
                         [](const ::testing::TestParamInfo<Row>& info) {
                           const Row& row = info.param;
                           return "line" + std::to_string(row.line) + "_" + row.object + "_" +
                                  row.operation;
                         });

}  // namespace
}  // namespace brova::testing
