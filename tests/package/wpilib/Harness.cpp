// The robot programs' view of WPILib's simulation (Harness.h), built against WPILib's own
// headers of either generation.
#include <jni.h>

#include <cmath>
#include <cstring>
#include <string>

#if __has_include("wpi/hal/HAL.h")
#include "wpi/hal/HAL.h"
#include "wpi/hal/SimDevice.h"
#include "wpi/hal/simulation/DriverStationData.h"
#include "wpi/hal/simulation/SimDeviceData.h"
#define BROVA_WPILIB_2027 1
#else
#include "hal/HAL.h"
#include "hal/SimDevice.h"
#include "hal/simulation/DriverStationData.h"
#include "hal/simulation/SimDeviceData.h"
#define BROVA_WPILIB_2027 0
#endif

#include "Harness.h"

namespace {

void setEnabled(bool enabled) {
  HALSIM_SetDriverStationEnabled(enabled);
  HALSIM_NotifyDriverStationNewData();
}

void addName(const char* name, void* list, int32_t) {
  *static_cast<std::string*>(list) += std::string(name) + '\n';
}

int copyOut(const std::string& text, char* buffer, int size) {
  if (buffer != nullptr && size > 0) {
    const auto n = std::min<std::size_t>(text.size(), static_cast<std::size_t>(size - 1));
    std::memcpy(buffer, text.data(), n);
    buffer[n] = '\0';
  }
  return static_cast<int>(text.size());
}

HAL_SimValueHandle find(const char* device, const char* value) {
  const HAL_SimDeviceHandle d = HALSIM_GetSimDeviceHandle(device);
  return d == 0 ? 0 : HALSIM_GetSimValueHandle(d, value);
}

std::string javaString(JNIEnv* env, jstring text) {
  const char* chars = env->GetStringUTFChars(text, nullptr);
  std::string copy(chars);
  env->ReleaseStringUTFChars(text, chars);
  return copy;
}

}  // namespace

extern "C" {

int brova_wpilib_start(void) {
  // Every WPILib robot program initialises the HAL before anything else.
  if (!HAL_Initialize(500, 0)) return 0;
  HALSIM_SetDriverStationDsAttached(true);
  setEnabled(false);
  return 1;
}

void brova_wpilib_set_enabled(int enabled) { setEnabled(enabled != 0); }

int brova_wpilib_devices(const char* prefix, char* buffer, int size) {
  std::string names;
  HALSIM_EnumerateSimDevices(prefix, &names, [](const char* name, void* list, HAL_SimDeviceHandle) {
    *static_cast<std::string*>(list) += std::string(name) + '\n';
  });
  return copyOut(names, buffer, size);
}

int brova_wpilib_values(const char* device, char* buffer, int size) {
  std::string names;
  const HAL_SimDeviceHandle d = HALSIM_GetSimDeviceHandle(device);
  if (d != 0) {
    HALSIM_EnumerateSimValues(
        d, &names, [](const char* name, void* list, HAL_SimValueHandle, int32_t, const HAL_Value*) {
          addName(name, list, 0);
        });
  }
  return copyOut(names, buffer, size);
}

double brova_wpilib_value(const char* device, const char* value) {
  const HAL_SimValueHandle v = find(device, value);
  if (v == 0) return std::nan("");
  HAL_Value got{};
  HAL_GetSimValue(v, &got);
  switch (got.type) {
    case HAL_BOOLEAN: return got.data.v_boolean ? 1.0 : 0.0;
    case HAL_DOUBLE: return got.data.v_double;
    case HAL_INT: return got.data.v_int;
    case HAL_LONG: return static_cast<double>(got.data.v_long);
    default: return std::nan("");
  }
}

int brova_wpilib_set_value(const char* device, const char* value, double number) {
  const HAL_SimValueHandle v = find(device, value);
  if (v == 0) return 0;
  HAL_Value set{};
  HAL_GetSimValue(v, &set);
  switch (set.type) {
    case HAL_BOOLEAN: set.data.v_boolean = number != 0.0; break;
    case HAL_DOUBLE: set.data.v_double = number; break;
    case HAL_INT: set.data.v_int = static_cast<int32_t>(number); break;
    case HAL_LONG: set.data.v_long = static_cast<int64_t>(number); break;
    default: return 0;
  }
  HAL_SetSimValue(v, &set);
  return 1;
}

int brova_wpilib_names_buses(void) { return BROVA_WPILIB_2027; }

// The Java robot program's view of the same (class WpilibHarness).
JNIEXPORT jboolean JNICALL Java_WpilibHarness_start(JNIEnv*, jclass) {
  return brova_wpilib_start() != 0 ? JNI_TRUE : JNI_FALSE;
}
JNIEXPORT void JNICALL Java_WpilibHarness_setEnabled(JNIEnv*, jclass, jboolean enabled) {
  brova_wpilib_set_enabled(enabled != JNI_FALSE);
}
JNIEXPORT jstring JNICALL Java_WpilibHarness_devices(JNIEnv* env, jclass, jstring prefix) {
  const std::string p = javaString(env, prefix);
  std::string names(static_cast<std::size_t>(brova_wpilib_devices(p.c_str(), nullptr, 0)) + 1,
                    '\0');
  brova_wpilib_devices(p.c_str(), names.data(), static_cast<int>(names.size()));
  return env->NewStringUTF(names.c_str());
}
JNIEXPORT jdouble JNICALL Java_WpilibHarness_value(JNIEnv* env, jclass, jstring device,
                                                   jstring value) {
  return brova_wpilib_value(javaString(env, device).c_str(), javaString(env, value).c_str());
}
JNIEXPORT jboolean JNICALL Java_WpilibHarness_setValue(JNIEnv* env, jclass, jstring device,
                                                       jstring value, jdouble number) {
  return brova_wpilib_set_value(javaString(env, device).c_str(), javaString(env, value).c_str(),
                                number) != 0
             ? JNI_TRUE
             : JNI_FALSE;
}

}  // extern "C"
