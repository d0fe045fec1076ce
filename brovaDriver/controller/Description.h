// What the two controller models share, and the few values in which they differ.
#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <mutex>
#include <string_view>
#include <type_traits>

#include "can/Link.h"
#include "controller/KeepAlive.h"
#include "controller/Replies.h"

namespace brova::controller {

// Process-wide state of one model. Constant-initialised, trivially destructible.
struct ModelState {
  // Device number of the most recent create that passed its argument checks; every frame of
  // the model goes to it, whatever handle the caller passes. 0 before any create.
  std::atomic<int32_t> deviceNumber{0};
  // The bus those frames go out on: 0 for the C entry points' models, an object's own bus for
  // an object's. Set before the state is shared.
  int32_t bus = 0;
  // Held by a query from its request to its reply, so overlapping queries of one model cannot
  // take each other's replies.
  std::mutex exchangeLock;
  KeepAliveTasks keepAlive;
  // An open object's device keeps its requests' replies apart (Replies.h); the C entry points'
  // models have none. Set before the state is shared.
  ReplyBook* replies = nullptr;
};

static_assert(std::is_trivially_destructible_v<ModelState>);

// How a model reads a hardware-type byte it does not know.
enum class UnknownHardware {
  NoHardwareFound,  // "No Hardware Found!"
  ReadAsSmall,      // as the single-channel controller
};

// The description of one model: the few values in which the two models differ.
struct Model {
  ModelState& state;
  // "BrovaQuad", "BrovaSmall": how the console and the simulation name the model.
  std::string_view name;
  int channels;
  // Between a request and the read of its reply, in seconds.
  double replyPause;
  // Printed after a successful create; empty for none.
  std::string_view greeting;
  // Whether the missing-reply lines name the motor or encoder: the four-channel model's frames
  // carry its number, the single-channel model's always 0.
  bool missingLinesNameChannel;
  // The current reply is byte 0 + byte 1 / this.
  double currentByte1Divisor;
  UnknownHardware unknownHardware;

  int32_t device() const { return state.deviceNumber.load(std::memory_order_acquire); }
  std::chrono::steady_clock::duration replyPauseSpan() const {
    return std::chrono::duration_cast<std::chrono::steady_clock::duration>(
        std::chrono::duration<double>(replyPause));
  }
  can::Address address() const { return {.bus = state.bus, .device = device()}; }
};

// `model` over another state: the same values, frames addressed to `state`'s bus and device
// number.
// Every field is listed, so a field added to Model without being added here fails to compile
// (missing initialiser).
inline Model withState(const Model& model, ModelState& state) {
  return Model{state,
               model.name,
               model.channels,
               model.replyPause,
               model.greeting,
               model.missingLinesNameChannel,
               model.currentByte1Divisor,
               model.unknownHardware};
}

}  // namespace brova::controller
