// Simulated BrovaQuad and BrovaSmall controllers on the simulated CAN buses, for tests, the demo
// and users' simulations.
//
// A SimController attaches one device model, a brovamodels::Controller (brovamodels/Controller.h
// says how the model behaves: what it answers, its enable state, its physics and the holds a
// mechanism simulation may set), to a simulated bus. It hears every frame sent to its device
// number on its bus (bus 0 unless its options name another), hands it to the model at the moment
// the frame was sent, and puts the model's replies on that bus when they are due, the reply
// latency after the request: a worker thread waits for that moment, or, with a latency of zero or
// less, the reply goes onto the bus at once, in the thread that sent the request, which makes a
// test independent of thread scheduling. Getters and setters hand the model the time now, so the
// physics is evaluated at the moment they are called. All functions are thread-safe.
//
// Its simulated device: the library makes one for each controller it opens ("BrovaQuad[5]",
// "BrovaQuad[5,2]" on bus 2, with its values: brovamodels' DeviceValues.h). The controller shows
// its state there at every frame it hears, and takes a value someone else sets (the library's
// physics API, HAL_SetSimValue) as a hold, as the device models do in WPILib's simulation.
#pragma once

#include <array>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "brovamodels/Controller.h"
#include "brovasim/SimCan.h"

namespace brovamodels {
class DeviceValues;
}  // namespace brovamodels
namespace brovasim {
class DeviceWatch;
}  // namespace brovasim

namespace brovasim {

// The model's parameters, under their names here too.
using MotorParameters = brovamodels::MotorParameters;
using ThermalParameters = brovamodels::ThermalParameters;

class SimController : public std::enable_shared_from_this<SimController> {
 public:
  using Model = brovamodels::Controller::Model;
  // What the identity queries report.
  using Identity = brovamodels::Controller::Identity;
  // A channel's state at one moment.
  using Channel = brovamodels::Controller::Channel;

  // The model's options (brovamodels::Controller::Options: reply latency, keep-alive timeout,
  // motor, thermal, counts per revolution, identity), and the bus the controller is on.
  struct Options : brovamodels::Controller::Options {
    // The simulated bus the controller is on: 0..can::kBuses-1.
    int bus = 0;
  };

  // The defaults of a model: a BrovaQuad's channels run free at 5000 rpm, a BrovaSmall's at
  // 6000 rpm with a larger motor; each reports its own hardware type.
  static Options defaults(Model model);

  // A controller of `model` with CAN device number `device`, hearing its bus from now on. Throws
  // std::out_of_range for a device number outside 0..63 or a bus outside 0..can::kBuses-1. The
  // bus's reset() forgets the controller's subscription: attach after resetting the bus.
  static std::shared_ptr<SimController> attach(Model model, int device);
  static std::shared_ptr<SimController> attach(Model model, int device, const Options& options);

  // Stops hearing the bus and drops replies not yet sent; when it returns, the controller puts
  // nothing more on the bus. Also done when the last owner lets go.
  void detach();
  ~SimController();
  SimController(const SimController&) = delete;
  SimController& operator=(const SimController&) = delete;

  Model model() const { return controller_.model(); }
  int device() const { return controller_.device(); }
  int bus() const { return bus_; }
  int channels() const { return controller_.channels(); }

  // A controller that does not answer still obeys commands and keep-alive frames.
  void setAnswering(bool answering);
  void setReplyLatency(std::chrono::microseconds latency);
  void setFreeSpeed(double rpm);
  void setTimeConstant(double seconds);
  void setCountsPerRevolution(int64_t counts);
  // Also releases the channel's speed and current holds.
  void setLoad(int channel, double fraction);
  void setAmbient(double celsius);
  void setIdentity(const Identity& identity);

  // The model's holds, from now on (brovamodels/Controller.h): a channel's speed or current, its
  // encoder's count, the controller's temperature; release gives a channel's speed and current
  // back to the model, releaseTemperature the temperature. A channel the model does not have is
  // ignored.
  void holdRpm(int channel, double rpm);
  void holdCurrent(int channel, double amperes);
  void setEncoderCount(int channel, int32_t count);
  void holdTemperature(double celsius);
  void releaseTemperature();
  void release(int channel);

  bool enabled() const;
  // When the outputs switch off unless another active keep-alive frame comes; in the past while
  // disabled.
  Clock::time_point enabledUntil() const;
  double temperature() const;
  // The state of `channel` now; a channel the model does not have reads as all zeros.
  Channel channel(int channel) const;
  // Requests heard and answered so far (the serial number's three replies count once).
  int answered() const;

 private:
  SimController(Model model, int device, const Options& options);
  void hear(const SentFrame& frame);
  // Its simulated device, which the library makes when it opens the controller: created, freed,
  // and a value set by someone else (the library's physics API, a test's HAL_SetSimValue).
  void simulatedDeviceCreated(int32_t device);
  void simulatedDeviceFreed();
  void simulatedValueSet(std::size_t index, double value);
  void send(const std::vector<brovamodels::Frame>& replies);
  // The worker's loop: puts each pending reply on the bus when it is due.
  void deliverWhenDue();

  const int bus_;

  mutable std::mutex mutex_;
  // Guarded by mutex_, but for what construction fixed (its model, device and channels, and
  // which frames it hears). Readers bring its physics up to date too, so const getters change it.
  mutable brovamodels::Controller controller_;
  bool attached_ = true;
  // Replies waiting for their time, in the order they are due (equal times in the order heard).
  std::multimap<Clock::time_point, brovamodels::Frame> pending_;
  std::condition_variable wake_;

  // Held while a reply goes onto the bus, so detach can wait for the last one.
  std::mutex sendMutex_;
  bool sending_ = true;

  // Guarded by mutex_: the simulated device of this controller's name, and its values, bound at
  // the first frame after it was made (the library makes the values after the device).
  int32_t simulatedDevice_ = 0;
  std::unique_ptr<brovamodels::DeviceValues> values_;

  std::once_flag detached_;
  int subscription_ = 0;
  std::unique_ptr<DeviceWatch> watch_;
  // Last: it starts in the constructor and uses everything above.
  std::thread worker_;
};

}  // namespace brovasim
