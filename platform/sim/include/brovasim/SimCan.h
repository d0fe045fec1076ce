// Control of the simulated CAN buses and robot state, for tests, device models and simulations.
//
// The simulated platform implements the platform's CAN functions over in-process buses. Every
// frame sent is handed to subscribers (device models answer requests from there), and recorded
// while recording is on (off by default: see setRecording); frames put on a bus by a device model
// or a test are kept, the latest per identifier, until a HAL_CAN_ReceiveMessage on that bus takes
// one: each frame goes to one receive, as on every platform (docs/receiving.md). All functions
// are thread-safe.
//
// Records: sends, receives, initialisations and cleans are recorded only while recording is on,
// and it is off by default, so a simulation left running keeps its memory flat. A test that reads
// the records (sentFrames, waitForSent, receiveCalls, initializations, cleanedHandles) turns it
// on first; the tests' fixture does (tests/support/SimTest.h). While on, each of the four records
// keeps its latest kRecordLimit entries (65536; setRecordLimit changes it): the next entry drops
// the oldest, so a long run with recording on stays bounded too. reset() turns recording off
// again and restores the limit.
//
// Buses: the simulated robot has the 2027 robot controller's buses, 0..kBuses-1 (five of its own
// and twenty through its expansion). Each bus keeps its own frames and its own injected faults. The
// 2026 HAL's calls name no bus: they are all on bus 0. The 2027 HAL's calls on a bus outside that
// range report HAL_PARAMETER_OUT_OF_RANGE and reach no bus: HAL_InitializeCAN hands out no handle
// (0) and records the refusal; a receive is recorded with that status; a send is not recorded
// (recorded: while recording is on, below). The functions below that take a bus default to bus 0
// and throw std::out_of_range for a bus outside the range.
#pragma once

#include <array>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

namespace brovasim {

using Clock = std::chrono::steady_clock;

// A frame that went through HAL_CAN_SendMessage.
struct SentFrame {
  Clock::time_point time;
  uint32_t id = 0;
  std::array<uint8_t, 8> data{};
  uint8_t size = 0;
  int32_t periodMs = 0;
  int32_t flags = 0;  // the frame's flags, where the HAL's send carries them (0: classic CAN)
  int32_t bus = 0;    // the bus named, where the HAL's calls name one
};

// A frame put on the bus by a device model or a test.
struct PutFrame {
  Clock::time_point time;
  uint32_t id = 0;
  std::array<uint8_t, 8> data{};  // the first min(size, 8) bytes given
  uint8_t size = 0;               // as given to putFrame, so it may exceed 8
  int32_t bus = 0;
};

// One call of HAL_CAN_ReceiveMessage and what it answered.
struct ReceiveCall {
  Clock::time_point time;
  uint32_t id = 0;
  uint32_t mask = 0;
  int32_t status = 0;
  uint8_t size = 0;
  int32_t bus = 0;
};

// One call of HAL_InitializeCAN.
struct CanInitialization {
  int32_t manufacturer = 0;
  int32_t deviceId = 0;
  int32_t deviceType = 0;
  int32_t handle = 0;
  int32_t status = 0;
  int32_t bus = 0;
};

namespace can {

// The buses are 0..kBuses-1 (see above).
inline constexpr int32_t kBuses = 25;
constexpr bool isBus(int32_t bus) { return bus >= 0 && bus < kBuses; }

// The most entries each record keeps while recording is on, by default: sent frames, receive
// calls, initialisations and cleaned handles each keep their latest 65536 (about 6.5 MB for the
// four when full; the demo sends about 1700 frames a second, so this is some 40 s of its sends).
inline constexpr size_t kRecordLimit = 65536;

// Forgets every recorded frame, call, kept frame, injected fault and subscriber, and restores
// the defaults (system inactive, handles counting from the first value, recording off, the
// record limit kRecordLimit). It forgets the simulated devices too, and the simulation's
// callbacks on them, as HALSIM_ResetSimDeviceData does (without calling any freed callback).
void reset();

// Whether sends, receives, initialisations and cleans are recorded. Off by default (and after
// reset()): nothing is recorded and the records stay empty until a test turns it on. Turning it
// off keeps what was recorded.
void setRecording(bool on);
bool recording();
// Each record keeps at most its latest `entries` entries from now on (kRecordLimit by default);
// a record holding more keeps its latest `entries`. 0 records nothing.
void setRecordLimit(size_t entries);

// Frames sent while recording was on, on every bus, oldest first: the latest kRecordLimit (or
// setRecordLimit's) of them.
std::vector<SentFrame> sentFrames();
// Those of sentFrames() with exactly this identifier on this bus.
std::vector<SentFrame> sentFrames(uint32_t id, int32_t bus = 0);
// Waits until `predicate` holds for sentFrames(), or the timeout passes.
bool waitForSent(const std::function<bool(const std::vector<SentFrame>&)>& predicate,
                 std::chrono::milliseconds timeout);
void clearSentFrames();

// Receives made while recording was on, oldest first (the latest kRecordLimit of them).
std::vector<ReceiveCall> receiveCalls();

// Puts a frame on `bus` as if a device had sent it; `size` is 0..8 (larger values are kept as
// given, so tests can present over-long sizes to the receiver). The frame is kept until a
// receive on that bus takes it, a newer frame with the same identifier on that bus replaces it,
// or it is removed.
void putFrame(uint32_t id, const std::vector<uint8_t>& data, int32_t bus = 0);
void putFrame(uint32_t id, const uint8_t* data, uint8_t size, int32_t bus = 0);
// Sends a frame on `bus` as the program's CAN send does, whichever HAL generation the platform
// was built for: recorded (while recording is on), captured and handed to the send observers, so
// the simulated controllers on that bus hear it. brova-devsim relays another bus's frames with it.
void sendFrame(uint32_t id, const uint8_t* data, uint8_t size, int32_t bus = 0);
void removeFrame(uint32_t id, int32_t bus = 0);
// Every bus's kept frames.
void removeAllFrames();

// Fault injection, for the calls on `bus` only: the next `count` calls report `status`. Sends
// still record the frame; a receive still copies out, and takes, the kept frame if there is
// one, whatever the status (docs/receiving.md).
void failNextSends(int32_t status, int count = 1, int32_t bus = 0);
void failNextReceives(int32_t status, int count = 1, int32_t bus = 0);
// The next `count` receives, or sends, on `bus` throw a std::runtime_error (sends after
// recording; a throwing receive takes no frame).
void throwOnNextReceives(int count = 1, int32_t bus = 0);
void throwOnNextSends(int count = 1, int32_t bus = 0);
// The next `count` initialisations on `bus` report `status` (they still hand out a handle).
void failNextInitializations(int32_t status, int count = 1, int32_t bus = 0);

// Robot state answered by HAL_GetSystemActive: the scripted answers first, in order, then the
// settable value.
void setSystemActive(bool active);
void scriptSystemActive(const std::vector<bool>& answers);
// Plays the 2027 robot controller's HAL, whose HAL_GetSystemActive is not implemented: with
// false it reports HAL_HANDLE_ERROR and answers false (counting the query), and only the
// Driver Station's control word tells whether the robot is enabled.
void setSystemActiveSupported(bool supported);
// The word HAL_GetUncachedControlWord answers (2027 HAL), and the result it returns. Until set,
// the word follows setSystemActive: enabled with a Driver Station attached, or attached only.
void setControlWord(int64_t value, int32_t result = 0);
int systemActiveQueries();

// Handles: HAL_InitializeCAN hands out consecutive values starting at `next`.
void setNextHandle(int32_t next);
// Initialisations, and the handles cleaned, while recording was on, oldest first (the latest
// kRecordLimit of each).
std::vector<CanInitialization> initializations();
std::vector<int32_t> cleanedHandles();
// The handles handed out and not cleaned yet, whether recording is on or not.
std::vector<int32_t> openHandles();

// Called, outside the bus lock, for every frame sent on any bus (SentFrame::bus says which).
// Returns an id for unsubscribe.
using SendObserver = std::function<void(const SentFrame&)>;
int subscribe(SendObserver observer);
void unsubscribe(int subscription);

// Called, outside the bus lock and in the thread that put it, for every frame put on any bus
// (putFrame; PutFrame::bus says which), in the order they were put. A bridge to another bus
// (brova-devsim, which carries the device models' replies to a SocketCAN interface) hears the
// replies here. Returns an id for unsubscribePut; reset() forgets these subscriptions too.
using PutObserver = std::function<void(const PutFrame&)>;
int subscribePut(PutObserver observer);
void unsubscribePut(int subscription);

}  // namespace can
}  // namespace brovasim
