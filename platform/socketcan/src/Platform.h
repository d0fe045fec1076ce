// The process's one SocketCAN platform: the interface of each bus, its link once it is open, the
// robot's enable and the CAN handles.
#pragma once

#include <atomic>
#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>

#include "CanLink.h"
#include "EnableSwitch.h"
#include "InterfaceLink.h"

namespace brovasocketcan {

class Platform {
 public:
  // Never destroyed: the driver's keep-alive threads and the reader threads may still call in
  // while the process exits. The first use reads the buses' interfaces from the environment
  // (BusInterfaces.h) and applies BROVA_ENABLE_SECONDS.
  static Platform& instance();

  // What a CAN call on a bus finds.
  struct BusLink {
    bool named = false;             // the bus has an interface, or an attached socket
    std::shared_ptr<CanLink> link;  // null while it cannot be opened
  };
  // The bus's link: its attached socket's, or its interface's, opened at the first call and
  // opened again when it is lost (see InterfaceLink).
  BusLink link(int32_t bus);
  // These throw std::out_of_range for a negative bus.
  void setInterface(int32_t bus, const std::string& name);
  std::string interfaceName(int32_t bus);
  void attachSocket(int32_t bus, int fd);
  void close(int32_t bus);

  EnableSwitch& enableSwitch() { return enable_; }
  int32_t nextHandle() { return nextHandle_++; }
  // One console line, the first time an I2C transfer is tried.
  void noteNoI2C();

 private:
  struct Bus {
    std::string interface;  // empty: none
    std::optional<InterfaceLink> link;
    // An attached socket's link (null when it could not be set up), used in place of the
    // interface and never reopened.
    std::optional<std::shared_ptr<CanLink>> attached;

    // Forgets the link in use; the old one stops when its last user lets go of it (its
    // destructor joins its reader, which never takes the platform's lock).
    void drop() {
      attached.reset();
      link.reset();
    }
  };

  Platform();
  Bus& busLocked(int32_t bus);

  std::mutex mutex_;
  // Every bus with an interface, and every bus the program named; the others have none.
  std::map<int32_t, Bus> buses_;
  EnableSwitch enable_;
  std::atomic<int32_t> nextHandle_;
  std::once_flag i2cNoted_;
};

}  // namespace brovasocketcan
