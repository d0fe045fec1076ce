// The latest readings of the analog board, refreshed by a thread of its own.
#ifndef BROVADRIVER_BROVA_DETAIL_TELEMETRY_HPP
#define BROVADRIVER_BROVA_DETAIL_TELEMETRY_HPP

#include <array>
#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <mutex>
#include <thread>
#include <utility>

#include "brova/Reading.hpp"
#include "brova/detail/Checks.hpp"

namespace brova::detail {

// The lock is held only to copy a value in or out, never across a query.
template <size_t N>
class Telemetry {
 public:
  using Round = std::function<void(Telemetry&)>;

  ~Telemetry() { stop(); }

  void start(std::chrono::milliseconds period, Round round) {
    stop();
    check(period.count() > 0, "telemetry period must be positive");
    {
      std::lock_guard lock(mutex_);
      stopping_ = false;
    }
    thread_ = std::thread([this, period, round = std::move(round)] {
      std::unique_lock lock(mutex_);
      while (!stopping_) {
        const auto started = Clock::now();
        lock.unlock();
        round(*this);
        lock.lock();
        wake_.wait_until(lock, started + period, [this] { return stopping_; });
      }
    });
  }

  void stop() {
    {
      std::lock_guard lock(mutex_);
      stopping_ = true;
    }
    wake_.notify_all();
    if (thread_.joinable()) thread_.join();
  }

  bool running() const { return thread_.joinable(); }

  // Runs `query` and keeps its value as `quantity`'s, unless `quantity` was reset while the
  // query was under way: a value asked for before a reset never overwrites it.
  template <typename Query>
  void refresh(size_t quantity, Query&& query) {
    const uint64_t generation = generationOf(quantity);
    const double value = query();
    std::lock_guard lock(mutex_);
    if (generations_[quantity] == generation)
      readings_[quantity] = {value, Clock::now(), ReadingState::Fresh};
  }

  // Sets `quantity` to `value`, read now.
  void reset(size_t quantity, double value) {
    std::lock_guard lock(mutex_);
    ++generations_[quantity];
    readings_[quantity] = {value, Clock::now(), ReadingState::Fresh};
  }

  Reading get(size_t quantity) const {
    std::lock_guard lock(mutex_);
    return readings_[quantity];
  }

 private:
  uint64_t generationOf(size_t quantity) const {
    std::lock_guard lock(mutex_);
    return generations_[quantity];
  }

  mutable std::mutex mutex_;
  std::condition_variable wake_;
  bool stopping_ = false;
  std::array<Reading, N> readings_{};
  std::array<uint64_t, N> generations_{};
  std::thread thread_;
};

}  // namespace brova::detail

#endif  // BROVADRIVER_BROVA_DETAIL_TELEMETRY_HPP
