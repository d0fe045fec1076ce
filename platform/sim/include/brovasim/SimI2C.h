// Control of the simulated I2C ports, for tests, device models and simulations.
//
// Devices are attached at (port, 7-bit address). A transfer to an address without a device, or
// on a port that is not open, fails with a negative result. All functions are thread-safe.
//
// Transfers are recorded only while recording is on, and it is off by default (as the CAN
// records are: brovasim/SimCan.h), so a simulation left running keeps its memory flat; a test
// that reads transfers() turns it on first (tests/support/SimTest.h does). While on, the record
// keeps the latest kRecordLimit transfers (65536; setRecordLimit changes it).
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

namespace brovasim {

// A device on a simulated I2C port. Results follow the platform: the byte count transferred, or
// a negative value for a failed transfer. Calls for one device never overlap.
class I2CDevice {
 public:
  virtual ~I2CDevice() = default;
  virtual int32_t write(const uint8_t* data, int32_t count) = 0;
  virtual int32_t read(uint8_t* buffer, int32_t count) = 0;
};

struct I2CTransfer {
  enum class Kind { Write, Read };
  Kind kind = Kind::Write;
  int32_t port = 0;
  int32_t address = 0;
  std::vector<uint8_t> bytes;  // written, or read back
  int32_t result = 0;
};

namespace i2c {

// The most transfers the record keeps while recording is on, by default (about 5 MB when full).
inline constexpr size_t kRecordLimit = 65536;

// Detaches every device, forgets every transfer and open port, clears injected faults, and
// restores the defaults (recording off, the record limit kRecordLimit).
void reset();

// Whether transfers are recorded: off by default and after reset(). Turning it off keeps what was
// recorded.
void setRecording(bool on);
bool recording();
// The record keeps at most its latest `entries` transfers from now on (kRecordLimit by default);
// 0 records nothing.
void setRecordLimit(size_t entries);

void attach(int32_t port, int32_t address, std::shared_ptr<I2CDevice> device);
void detach(int32_t port, int32_t address);

// The next `count` transfers on any port fail with -1 before reaching a device.
void failNextTransfers(int count = 1);

// The transfers made while recording was on, oldest first: the latest kRecordLimit of them.
std::vector<I2CTransfer> transfers();
void clearTransfers();

bool isOpen(int32_t port);
int timesOpened(int32_t port);
int timesClosed(int32_t port);

}  // namespace i2c
}  // namespace brovasim
