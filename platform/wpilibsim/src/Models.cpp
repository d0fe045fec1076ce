#include "Models.h"

#include <algorithm>
#include <deque>
#include <map>
#include <memory>
#include <mutex>
#include <utility>
#include <vector>

#include "DeviceValues.h"
#include "brovamodels/Board.h"
#include "brovamodels/Controller.h"

namespace brovawpilib {
namespace {

using brovamodels::Clock;
using brovamodels::DeviceName;

struct Reply {
  Clock::time_point due;
  std::array<uint8_t, 8> data;
};

struct AttachedController {
  int32_t bus;
  brovamodels::Controller model;
  // Bound at the first frame: the library makes the device's values after the device.
  std::unique_ptr<brovamodels::DeviceValues> values;
};

struct AttachedBoard {
  int32_t port;
  brovamodels::Board model;
  std::unique_ptr<brovamodels::DeviceValues> values;  // bound at the first transfer
};

struct Attached {
  std::mutex lock;
  std::map<int32_t, std::unique_ptr<AttachedController>> controllers;  // by simulated device
  std::map<int32_t, std::unique_ptr<AttachedBoard>> boards;
  // Replies not yet taken, by bus and identifier, in the order they are due.
  std::map<std::pair<int32_t, uint32_t>, std::deque<Reply>> replies;
};

Attached& attached() {
  static auto* everything = new Attached;  // never destroyed: callbacks may outlive statics
  return *everything;
}

// A value set elsewhere, handed to the model of simulated device `device` if it is still there.
void setController(int32_t device, std::size_t index, double value) {
  Attached& a = attached();
  std::lock_guard lock(a.lock);
  const auto it = a.controllers.find(device);
  if (it != a.controllers.end()) {
    brovamodels::DeviceValues::apply(it->second->model, index, value, Clock::now());
  }
}

void setBoard(int32_t device, std::size_t input, double volts) {
  Attached& a = attached();
  std::lock_guard lock(a.lock);
  const auto it = a.boards.find(device);
  if (it != a.boards.end()) it->second->model.setInput(static_cast<int>(input), volts);
}

std::pair<int32_t, AttachedController*> controllerFor(Attached& a, int32_t bus, uint32_t id) {
  for (auto& [device, c] : a.controllers) {
    if (c->bus == bus && c->model.hears(id)) return {device, c.get()};
  }
  return {0, nullptr};
}

std::pair<int32_t, AttachedBoard*> boardOn(Attached& a, int32_t port) {
  for (auto& [device, b] : a.boards) {
    if (b->port == port) return {device, b.get()};
  }
  return {0, nullptr};
}

void bind(AttachedController& c, int32_t device, DeviceName::Kind kind) {
  if (c.values) return;
  c.values = std::make_unique<brovamodels::DeviceValues>(
      device, kind, c.model.channels(),
      [device](std::size_t index, double value) { setController(device, index, value); });
}

void bind(AttachedBoard& b, int32_t device) {
  if (b.values) return;
  b.values = std::make_unique<brovamodels::DeviceValues>(
      device, DeviceName::Kind::Board, 4,
      [device](std::size_t input, double volts) { setBoard(device, input, volts); });
}

}  // namespace

void deviceCreated(const char* name, int32_t device) {
  const auto parsed = name == nullptr ? std::nullopt : brovamodels::parseName(name);
  if (!parsed) return;
  Attached& a = attached();
  if (parsed->kind == DeviceName::Kind::Board) {
    std::lock_guard lock(a.lock);
    a.boards[device] = std::make_unique<AttachedBoard>(AttachedBoard{parsed->number, {}, nullptr});
    return;
  }
  if (parsed->number > brovamodels::Controller::kHighestDevice) return;
  const auto model = parsed->kind == DeviceName::Kind::Quad ? brovamodels::Controller::Model::Quad
                                                            : brovamodels::Controller::Model::Small;
  std::lock_guard lock(a.lock);
  a.controllers[device] = std::make_unique<AttachedController>(AttachedController{
      parsed->bus,
      brovamodels::Controller(model, parsed->number, brovamodels::Controller::defaults(model),
                              Clock::now()),
      nullptr});
}

void deviceFreed(int32_t device) {
  Attached& a = attached();
  std::unique_ptr<AttachedController> controller;
  std::unique_ptr<AttachedBoard> board;
  {
    std::lock_guard lock(a.lock);
    if (auto it = a.controllers.find(device); it != a.controllers.end()) {
      controller = std::move(it->second);
      a.controllers.erase(it);
      const int32_t bus = controller->bus;
      std::erase_if(a.replies, [&](const auto& entry) {
        return entry.first.first == bus && controller->model.hears(entry.first.second);
      });
    }
    if (auto it = a.boards.find(device); it != a.boards.end()) {
      board = std::move(it->second);
      a.boards.erase(it);
    }
  }
}

void frameSent(int32_t bus, uint32_t id, const uint8_t* data, std::size_t size) {
  if (data == nullptr) size = 0;
  std::array<uint8_t, 8> bytes{};
  std::copy_n(data, std::min<std::size_t>(size, bytes.size()), bytes.begin());
  Attached& a = attached();
  const Clock::time_point now = Clock::now();
  std::lock_guard lock(a.lock);
  const auto [device, c] = controllerFor(a, bus, id);
  if (c == nullptr) return;
  const auto kind = c->model.model() == brovamodels::Controller::Model::Quad
                        ? DeviceName::Kind::Quad
                        : DeviceName::Kind::Small;
  bind(*c, device, kind);
  const auto replies = c->model.hear(id, bytes, now);
  const Clock::time_point due = now + c->model.latency();
  for (const brovamodels::Frame& reply : replies) {
    a.replies[{bus, reply.id}].push_back({due, reply.data});
  }
  c->values->show(c->model, now);
}

bool takeReply(int32_t bus, uint32_t id, std::array<uint8_t, 8>& data) {
  Attached& a = attached();
  const Clock::time_point now = Clock::now();
  std::lock_guard lock(a.lock);
  const auto it = a.replies.find({bus, id});
  if (it == a.replies.end()) return false;
  std::deque<Reply>& waiting = it->second;
  bool found = false;
  // As on the bus, a later frame of an identifier replaces an earlier one not yet read.
  while (!waiting.empty() && waiting.front().due <= now) {
    data = waiting.front().data;
    waiting.pop_front();
    found = true;
  }
  if (waiting.empty()) a.replies.erase(it);
  return found;
}

void written(int32_t port, const uint8_t* data, std::size_t count) {
  if (data == nullptr) return;
  Attached& a = attached();
  std::lock_guard lock(a.lock);
  const auto [device, b] = boardOn(a, port);
  if (b == nullptr) return;
  bind(*b, device);
  const Clock::time_point now = Clock::now();
  b->values->show(b->model, now);
  b->model.write(data, static_cast<int32_t>(count), now);
}

void read(int32_t port, uint8_t* buffer, std::size_t count) {
  if (buffer == nullptr) return;
  Attached& a = attached();
  std::lock_guard lock(a.lock);
  const auto [device, b] = boardOn(a, port);
  if (b != nullptr) b->model.read(buffer, static_cast<int32_t>(count));
}

}  // namespace brovawpilib
