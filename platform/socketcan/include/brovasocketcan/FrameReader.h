// A thread that reads frames from a CAN socket and hands each one on, until it is stopped.
// Shared by the platform's link and by brova-devsim.
#pragma once

#include <atomic>
#include <functional>
#include <thread>

#include "brovasocketcan/Frame.h"

namespace brovasocketcan {

class FrameReader {
 public:
  // Starts reading `fd`, which stays the caller's: it must stay open until stop() returns.
  // `onFrame` runs on the reader's thread for each frame read. Throws std::system_error when
  // the reader cannot be set up; nothing runs then.
  FrameReader(int fd, std::function<void(const Frame&)> onFrame);
  // Stops the reader, as stop() does.
  ~FrameReader();
  FrameReader(const FrameReader&) = delete;
  FrameReader& operator=(const FrameReader&) = delete;

  // Stops the reader and waits for its thread to end: no frame is handed on afterwards. A second
  // call does nothing.
  void stop();
  // Whether the reader's thread has ended: the socket can carry nothing more (Read::Stopped:
  // its peer hung up, its interface is gone), or stop() was called.
  bool ended() const { return ended_; }

 private:
  const int stopFd_;
  std::atomic<bool> ended_ = false;
  std::thread thread_;
};

}  // namespace brovasocketcan
