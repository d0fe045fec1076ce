// Shared ground for tests that run the driver against the simulated platform.
#pragma once

#include <gtest/gtest.h>

#include <array>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "brovasim/SimCan.h"
#include "brovasim/SimI2C.h"

namespace brova::testing {

using Bytes = std::array<uint8_t, 8>;
using namespace std::chrono_literals;

// The simulated platform as a test starts from: empty, and recording what is sent, received,
// initialised, cleaned and transferred (recording is off by default, so that a simulation left
// running stays flat: brovasim/SimCan.h).
inline void resetRecordingPlatform() {
  brovasim::can::reset();
  brovasim::can::setRecording(true);
  brovasim::i2c::reset();
  brovasim::i2c::setRecording(true);
}

// Starts every test from an empty simulated platform that records, and captures the console
// when asked.
class SimTest : public ::testing::Test {
 protected:
  void SetUp() override { resetRecordingPlatform(); }

  void TearDown() override {
    if (!capturing_) return;
    // GoogleTest reports failures on standard output too: show them rather than swallow them.
    const std::string captured = ::testing::internal::GetCapturedStdout();
    if (HasFailure()) std::fputs(captured.c_str(), stderr);
  }

  void captureConsole() {
    ::testing::internal::CaptureStdout();
    capturing_ = true;
  }

  // What the driver printed since captureConsole().
  std::string console() {
    capturing_ = false;
    return ::testing::internal::GetCapturedStdout();
  }

  static std::vector<brovasim::SentFrame> sent() { return brovasim::can::sentFrames(); }
  static std::vector<brovasim::SentFrame> sent(uint32_t id) {
    return brovasim::can::sentFrames(id);
  }

  // Waits until at least `count` frames with identifier `id` were sent.
  static bool waitForFrames(uint32_t id, size_t count, std::chrono::milliseconds timeout = 2s) {
    return brovasim::can::waitForSent(
        [&](const std::vector<brovasim::SentFrame>& frames) {
          size_t n = 0;
          for (const auto& f : frames) n += f.id == id;
          return n >= count;
        },
        timeout);
  }

 private:
  bool capturing_ = false;
};

}  // namespace brova::testing
