// The simulated I2C ports behind the platform's I2C functions.
#include <map>
#include <mutex>
#include <utility>

#include "BoundedRecord.h"
#include "brovasim/SimI2C.h"

#if BROVA_HAL >= 2027
#include "wpi/hal/I2C.h"
#else
#include "hal/I2C.h"
#endif

namespace brovasim {
namespace {

constexpr int32_t kTransferFailed = -1;

struct PortState {
  bool open = false;
  int opened = 0;
  int closed = 0;
};

struct Ports {
  // Held for a whole transfer, so a device sees one transfer at a time.
  std::mutex mutex;
  std::map<std::pair<int32_t, int32_t>, std::shared_ptr<I2CDevice>> devices;
  std::map<int32_t, PortState> ports;
  // Recorded only while recording is on (off by default).
  bool recording = false;
  BoundedRecord<I2CTransfer> transfers{i2c::kRecordLimit};
  int failures = 0;
};

// Never destroyed, like the CAN bus: callers may still transfer while the process exits.
Ports& ports() {
  static Ports* const instance = new Ports;
  return *instance;
}

// Runs one transfer under the ports' lock and records it.
template <typename Transfer>
int32_t transfer(I2CTransfer::Kind kind, int32_t port, int32_t address, int32_t count,
                 std::vector<uint8_t> written, Transfer&& onDevice) {
  Ports& p = ports();
  std::lock_guard lock(p.mutex);
  I2CTransfer record{kind, port, address, std::move(written), kTransferFailed};
  auto device = p.devices.find({port, address});
  const bool reachable = p.ports[port].open && device != p.devices.end() && count >= 0;
  if (p.failures > 0) {
    --p.failures;
  } else if (reachable) {
    record.result = onDevice(*device->second, record.bytes);
  }
  const int32_t result = record.result;
  if (p.recording) p.transfers.push(std::move(record));
  return result;
}

}  // namespace

namespace i2c {

void reset() {
  Ports& p = ports();
  std::lock_guard lock(p.mutex);
  p.devices.clear();
  p.ports.clear();
  p.recording = false;
  p.transfers = BoundedRecord<I2CTransfer>(kRecordLimit);
  p.failures = 0;
}

void setRecording(bool on) {
  Ports& p = ports();
  std::lock_guard lock(p.mutex);
  p.recording = on;
}

bool recording() {
  Ports& p = ports();
  std::lock_guard lock(p.mutex);
  return p.recording;
}

void setRecordLimit(size_t entries) {
  Ports& p = ports();
  std::lock_guard lock(p.mutex);
  p.transfers.setLimit(entries);
}

void attach(int32_t port, int32_t address, std::shared_ptr<I2CDevice> device) {
  Ports& p = ports();
  std::lock_guard lock(p.mutex);
  p.devices[{port, address}] = std::move(device);
}

void detach(int32_t port, int32_t address) {
  Ports& p = ports();
  std::lock_guard lock(p.mutex);
  p.devices.erase({port, address});
}

void failNextTransfers(int count) {
  Ports& p = ports();
  std::lock_guard lock(p.mutex);
  p.failures = count;
}

std::vector<I2CTransfer> transfers() {
  Ports& p = ports();
  std::lock_guard lock(p.mutex);
  return p.transfers.copy();
}

void clearTransfers() {
  Ports& p = ports();
  std::lock_guard lock(p.mutex);
  p.transfers.clear();
}

bool isOpen(int32_t port) {
  Ports& p = ports();
  std::lock_guard lock(p.mutex);
  return p.ports[port].open;
}

int timesOpened(int32_t port) {
  Ports& p = ports();
  std::lock_guard lock(p.mutex);
  return p.ports[port].opened;
}

int timesClosed(int32_t port) {
  Ports& p = ports();
  std::lock_guard lock(p.mutex);
  return p.ports[port].closed;
}

}  // namespace i2c
}  // namespace brovasim

using brovasim::I2CDevice;
using brovasim::I2CTransfer;

extern "C" {

void HAL_InitializeI2C(HAL_I2CPort port, int32_t* status) {
  brovasim::Ports& p = brovasim::ports();
  std::lock_guard lock(p.mutex);
  auto& state = p.ports[port];
  state.open = true;
  ++state.opened;
  if (status != nullptr) *status = 0;
}

int32_t HAL_WriteI2C(HAL_I2CPort port, int32_t deviceAddress, const uint8_t* dataToSend,
                     int32_t sendSize) {
  std::vector<uint8_t> written;
  if (dataToSend != nullptr && sendSize > 0) written.assign(dataToSend, dataToSend + sendSize);
  return brovasim::transfer(
      I2CTransfer::Kind::Write, port, deviceAddress, sendSize, std::move(written),
      [&](I2CDevice& device, std::vector<uint8_t>&) { return device.write(dataToSend, sendSize); });
}

int32_t HAL_ReadI2C(HAL_I2CPort port, int32_t deviceAddress, uint8_t* buffer, int32_t count) {
  return brovasim::transfer(I2CTransfer::Kind::Read, port, deviceAddress, count, {},
                            [&](I2CDevice& device, std::vector<uint8_t>& bytes) {
                              const int32_t result = device.read(buffer, count);
                              if (buffer != nullptr && result > 0)
                                bytes.assign(buffer, buffer + result);
                              return result;
                            });
}

void HAL_CloseI2C(HAL_I2CPort port) {
  brovasim::Ports& p = brovasim::ports();
  std::lock_guard lock(p.mutex);
  auto& state = p.ports[port];
  state.open = false;
  ++state.closed;
}

}  // extern "C"
