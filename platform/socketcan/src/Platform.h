// The process's one SocketCAN platform: the interface chosen, the link once it is open, the
// robot's enable and the CAN handles.
#pragma once

#include <atomic>
#include <cstdint>
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
  // Never destroyed: the driver's keep-alive threads and the reader thread may still call in
  // while the process exits. The first use applies BROVA_ENABLE_SECONDS.
  static Platform& instance();

  // The open link: the attached socket's, or the interface's, opened at the first call and
  // opened again when it is lost (see InterfaceLink); null while it cannot be opened.
  std::shared_ptr<CanLink> link();
  void setInterface(const std::string& name);
  std::string interfaceName();
  void attachSocket(int fd);
  void close();

  EnableSwitch& enableSwitch() { return enable_; }
  int32_t nextHandle() { return nextHandle_++; }
  // One console line, the first time an I2C transfer is tried.
  void noteNoI2C();

 private:
  Platform();
  std::string interfaceNameLocked() const;
  // Forgets the link in use; the old one stops when its last user lets go of it (its
  // destructor joins its reader, which never takes this lock).
  void dropLinkLocked();

  std::mutex mutex_;
  std::optional<std::string> chosenInterface_;
  std::optional<InterfaceLink> interface_;
  // An attached socket's link (null when it could not be set up), used in place of the
  // interface and never reopened.
  std::optional<std::shared_ptr<CanLink>> attached_;
  EnableSwitch enable_;
  std::atomic<int32_t> nextHandle_;
  std::once_flag i2cNoted_;
};

}  // namespace brovasocketcan
