// The Java simulation classes' natives: com.quorvel.frc.sim.SimulatedNatives, over the checked
// reads and writes of objects/Simulated.h.
// Each takes the Java object itself (a BrovaQuad or BrovaSmall, or the Ferux) and holds an
// operation of its lifecycle (com.quorvel.frc.Lifecycle's enter and leave) around the call, as the
// object's own calls do: the object's close waits for it, and a closed object makes enter throw
// the IllegalStateException that names it. Only within the operation is the object's device read
// (Controller.device, Ferux.board: the heap std::shared_ptr of DevicesJNI.cpp and
// AnalogBoardJNI.cpp). A C++ exception becomes the Java exception of its kind and crosses no
// further.
#include <jni.h>

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <type_traits>

#include "com_quorvel_frc_sim_SimulatedNatives.h"
#include "devices/AnalogBoard.h"
#include "devices/Device.h"
#include "objects/JavaExceptions.h"
#include "objects/Simulated.h"

namespace {

namespace simulated = brova::detail::simulated;
using brova::detail::guarded;
using brova::devices::AnalogBoard;
using brova::devices::Device;
using simulated::Quantity;

// SimulatedNatives' constants in their order.
constexpr std::array kQuantities{Quantity::Output, Quantity::Current, Quantity::Rpm,
                                 Quantity::Encoder, Quantity::Load};

// Where a Java object keeps its lifecycle and its device.
struct Fields {
  jfieldID lifecycle;
  jfieldID device;
};

// The Java members the natives use, looked up once; the classes are held so that they stay.
struct Members {
  Fields controller;
  Fields board;
  jmethodID enter;
  jmethodID leave;
};

std::optional<Fields> fieldsOf(JNIEnv* env, const char* className, const char* deviceField) {
  const jclass type = env->FindClass(className);
  if (type == nullptr || env->NewGlobalRef(type) == nullptr) return std::nullopt;
  const jfieldID lifecycle = env->GetFieldID(type, "lifecycle", "Lcom/quorvel/frc/Lifecycle;");
  const jfieldID device = lifecycle ? env->GetFieldID(type, deviceField, "J") : nullptr;
  if (device == nullptr) return std::nullopt;
  return Fields{lifecycle, device};
}

std::optional<Members> lookUp(JNIEnv* env) {
  const auto controller = fieldsOf(env, "com/quorvel/frc/Controller", "device");
  const auto board = controller ? fieldsOf(env, "com/quorvel/frc/Ferux", "board") : std::nullopt;
  const jclass lifecycle = board ? env->FindClass("com/quorvel/frc/Lifecycle") : nullptr;
  if (lifecycle == nullptr || env->NewGlobalRef(lifecycle) == nullptr) return std::nullopt;
  const jmethodID enter = env->GetMethodID(lifecycle, "enter", "()V");
  const jmethodID leave = enter ? env->GetMethodID(lifecycle, "leave", "()V") : nullptr;
  if (leave == nullptr) return std::nullopt;
  return Members{*controller, *board, enter, leave};
}

// The members, or null with a Java exception pending: the lookup's own the first time.
const Members* members(JNIEnv* env) {
  static const std::optional<Members> found = lookUp(env);
  if (!found) {
    brova::detail::throwJava(env, "java/lang/IllegalStateException",
                             "libBrovaDriver.so does not match the driver's Java classes");
    return nullptr;
  }
  return &*found;
}

// An operation of a Java object, from its lifecycle's enter to its leave; not entered when the
// object is closed (enter's exception is pending then).
class Operation {
 public:
  Operation(JNIEnv* env, jobject object, const Fields& fields, const Members& members)
      : env_(env),
        lifecycle_(env->GetObjectField(object, fields.lifecycle)),
        leave_(members.leave) {
    env->CallVoidMethod(lifecycle_, members.enter);
    if (env->ExceptionCheck()) return;
    entered_ = true;
    handle_ = env->GetLongField(object, fields.device);
  }
  Operation(const Operation&) = delete;
  Operation& operator=(const Operation&) = delete;

  // Leaves; Java is called with no exception pending, so one thrown meanwhile is set aside and
  // thrown again after.
  ~Operation() {
    if (!entered_) return;
    const jthrowable pending = env_->ExceptionOccurred();
    if (pending != nullptr) env_->ExceptionClear();
    env_->CallVoidMethod(lifecycle_, leave_);
    if (pending != nullptr) env_->Throw(pending);
  }

  explicit operator bool() const { return entered_; }

  template <typename Held>
  const Held& device() const {
    return **reinterpret_cast<std::shared_ptr<Held>*>(static_cast<intptr_t>(handle_));
  }

 private:
  JNIEnv* env_;
  jobject lifecycle_;
  jmethodID leave_;
  bool entered_ = false;
  jlong handle_ = 0;
};

// Runs `call` on the device of `object` (its Controller fields, or else the Ferux's) within an
// operation of it; `fallback` when there is none, with the Java exception pending.
template <typename Held, typename Result, typename Call>
Result within(JNIEnv* env, jobject object, Result fallback, Call&& call) noexcept {
  return guarded<Result>(env, fallback, [&]() -> Result {
    const Members* found = members(env);
    if (found == nullptr) return fallback;
    const Fields& fields = std::is_same_v<Held, Device> ? found->controller : found->board;
    const Operation operation(env, object, fields, *found);
    if (!operation) return fallback;
    return call(operation.device<Held>());
  });
}

Quantity quantityOf(jint quantity) { return kQuantities.at(static_cast<std::size_t>(quantity)); }

}  // namespace

extern "C" {

// ---- The controllers' simulated values ----

JNIEXPORT jdouble JNICALL Java_com_quorvel_frc_sim_SimulatedNatives_value(JNIEnv* env, jclass,
                                                                          jobject controller,
                                                                          jint channel,
                                                                          jint quantity) {
  return within<Device>(env, controller, jdouble{0.0}, [&](const Device& device) {
    return simulated::value(device, channel, quantityOf(quantity));
  });
}

JNIEXPORT void JNICALL Java_com_quorvel_frc_sim_SimulatedNatives_setValue(
    JNIEnv* env, jclass, jobject controller, jint channel, jint quantity, jdouble value) {
  within<Device>(env, controller, 0, [&](const Device& device) {
    simulated::setValue(device, channel, quantityOf(quantity), value);
    return 0;
  });
}

JNIEXPORT jboolean JNICALL Java_com_quorvel_frc_sim_SimulatedNatives_enabled(JNIEnv* env, jclass,
                                                                             jobject controller) {
  return within<Device>(env, controller, jboolean{JNI_FALSE}, [&](const Device& device) {
    return static_cast<jboolean>(simulated::enabled(device) ? JNI_TRUE : JNI_FALSE);
  });
}

JNIEXPORT jdouble JNICALL
Java_com_quorvel_frc_sim_SimulatedNatives_temperature(JNIEnv* env, jclass, jobject controller) {
  return within<Device>(env, controller, jdouble{0.0},
                        [&](const Device& device) { return simulated::temperature(device); });
}

JNIEXPORT void JNICALL Java_com_quorvel_frc_sim_SimulatedNatives_setTemperature(JNIEnv* env, jclass,
                                                                                jobject controller,
                                                                                jdouble celsius) {
  within<Device>(env, controller, 0, [&](const Device& device) {
    simulated::setTemperature(device, celsius);
    return 0;
  });
}

// ---- The board's inputs ----

JNIEXPORT jdouble JNICALL Java_com_quorvel_frc_sim_SimulatedNatives_voltage(JNIEnv* env, jclass,
                                                                            jobject board,
                                                                            jint input) {
  return within<AnalogBoard>(env, board, jdouble{0.0}, [&](const AnalogBoard& open) {
    return simulated::voltage(open, input);
  });
}

JNIEXPORT void JNICALL Java_com_quorvel_frc_sim_SimulatedNatives_setVoltage(JNIEnv* env, jclass,
                                                                            jobject board,
                                                                            jint input,
                                                                            jdouble volts) {
  within<AnalogBoard>(env, board, 0, [&](const AnalogBoard& open) {
    simulated::setVoltage(open, input, volts);
    return 0;
  });
}

}  // extern "C"
