// The simulated devices through the platform's HAL and HALSIM calls: names in use, lookups by
// prefix, the created, changed and freed callbacks, what a free and a reset leave, and callbacks
// that call back into the devices.
#include <cstdio>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "support/SimTest.h"

#if BROVA_HAL >= 2027
#include "wpi/hal/SimDevice.h"
#include "wpi/hal/simulation/SimDeviceData.h"
#else
#include "hal/SimDevice.h"
#include "hal/simulation/SimDeviceData.h"
#endif

namespace brova::testing {
namespace {

#if BROVA_HAL >= 2027
constexpr int32_t kOutput = HAL_SIM_VALUE_OUTPUT;
#else
constexpr int32_t kOutput = HAL_SimValueOutput;
#endif

HAL_Value number(double value) {
  HAL_Value v{};
  v.type = HAL_DOUBLE;
  v.data.v_double = value;
  return v;
}

HAL_Value flag(bool value) {
  HAL_Value v{};
  v.type = HAL_BOOLEAN;
  v.data.v_boolean = value;
  return v;
}

std::string show(const HAL_Value& v) {
  char text[32];
  switch (v.type) {
    case HAL_DOUBLE: std::snprintf(text, sizeof text, "%g", v.data.v_double); return text;
    case HAL_BOOLEAN: return v.data.v_boolean ? "true" : "false";
    case HAL_UNASSIGNED: return v.data.v_long == 0 ? "unassigned" : "unassigned, not zeroed";
    default: return "another type";
  }
}

// What callbacks saw, in order, space-separated: device names, and value names with values.
struct Seen {
  std::string line;
  void add(const std::string& item) { line += (line.empty() ? "" : " ") + item; }
};

void device(const char* name, void* seen, HAL_SimDeviceHandle) {
  static_cast<Seen*>(seen)->add(name);
}

void value(const char* name, void* seen, HAL_SimValueHandle, int32_t, const HAL_Value* v) {
  static_cast<Seen*>(seen)->add(std::string(name) + "=" + show(*v));
}

HAL_SimValueHandle create(HAL_SimDeviceHandle device, const char* name, HAL_Value initial) {
  return HAL_CreateSimValue(device, name, kOutput, &initial);
}

void set(HAL_SimValueHandle handle, HAL_Value v) { HAL_SetSimValue(handle, &v); }

HAL_Value get(HAL_SimValueHandle handle) {
  HAL_Value v;
  v.type = HAL_INT;
  v.data.v_long = -1;
  HAL_GetSimValue(handle, &v);
  return v;
}

std::string devices(const char* prefix) {
  Seen seen;
  HALSIM_EnumerateSimDevices(prefix, &seen, device);
  return seen.line.empty() ? "none" : seen.line;
}

std::string yesNo(bool yes) { return yes ? "yes" : "no"; }

// Each row runs on an empty platform and tells what it saw, in its own words.
struct Row {
  const char* name;
  std::function<std::string()> run;
  std::string expected;
};

// A device-created callback that, from within, opens the new device's values to a value-created
// callback (initialNotify) and creates one.
void createInside(const char* name, void* seen, HAL_SimDeviceHandle handle) {
  static_cast<Seen*>(seen)->add(std::string(name) + "/" + HAL_GetSimDeviceName(handle));
  HALSIM_RegisterSimValueCreatedCallback(handle, seen, value, true);
  create(handle, "made", number(1));
}

// An enumeration callback that frees the device it is told of, on another thread.
void freeOnAnotherThread(const char* name, void* seen, HAL_SimDeviceHandle handle) {
  std::thread([handle] { HAL_FreeSimDevice(handle); }).join();
  static_cast<Seen*>(seen)->add(std::string(name) + (HALSIM_GetSimDeviceHandle(name) ? "" : "-"));
}

// A changed callback that sets the device's other value, "echo", to what it was handed.
void echo(const char* name, void* seen, HAL_SimValueHandle handle, int32_t, const HAL_Value* v) {
  static_cast<Seen*>(seen)->add(std::string(name) + "=" + show(*v));
  if (std::string(name) != "echo") {
    HAL_SetSimValue(HALSIM_GetSimValueHandle(HALSIM_GetSimValueDeviceHandle(handle), "echo"), v);
  }
}

const Row kRows[] = {
    {"a device name in use gives handle 0 and leaves the first device",
     [] {
       const auto first = HAL_CreateSimDevice("Quad[5]");
       const auto second = HAL_CreateSimDevice("Quad[5]");
       return "second " + std::to_string(second) + ", the name's device is the first " +
              yesNo(first > 0 && HALSIM_GetSimDeviceHandle("Quad[5]") == first);
     },
     "second 0, the name's device is the first yes"},
    {"a value name in use on its device gives handle 0; on another device it is free",
     [] {
       const auto a = HAL_CreateSimDevice("Quad[5]");
       const auto b = HAL_CreateSimDevice("Quad[6]");
       const auto first = create(a, "speed", number(0));
       const auto again = create(a, "speed", number(1));
       return "again " + std::to_string(again) + ", on another device " +
              yesNo(create(b, "speed", number(0)) > 0) + ", the name's value is the first " +
              yesNo(first > 0 && HALSIM_GetSimValueHandle(a, "speed") == first) + ", it holds " +
              show(get(first));
     },
     "again 0, on another device yes, the name's value is the first yes, it holds 0"},
    {"enumerating gives the devices whose names start with the prefix, in creation order",
     [] {
       for (const char* name : {"Quad[6]", "Small[7]", "Quad[5]", "Quadrature"}) {
         HAL_CreateSimDevice(name);
       }
       return devices("Quad[") + " | " + devices("") + " | " + devices("Ferux");
     },
     "Quad[6] Quad[5] | Quad[6] Small[7] Quad[5] Quadrature | none"},
    {"a changed callback is called on every set, with the value set, until cancelled",
     [] {
       const auto speed = create(HAL_CreateSimDevice("Quad[5]"), "speed", number(0));
       Seen seen;
       const int32_t uid = HALSIM_RegisterSimValueChangedCallback(speed, &seen, value, false);
       set(speed, number(0.5));
       set(speed, number(0.5));
       set(speed, number(-1));
       HALSIM_CancelSimValueChangedCallback(uid);
       set(speed, number(2));
       return seen.line + ", holds " + show(get(speed));
     },
     "speed=0.5 speed=0.5 speed=-1, holds 2"},
    {"with initialNotify a changed callback first sees the value held",
     [] {
       const auto speed = create(HAL_CreateSimDevice("Quad[5]"), "speed", number(0.25));
       Seen seen;
       HALSIM_RegisterSimValueChangedCallback(speed, &seen, value, true);
       set(speed, number(1));
       return seen.line;
     },
     "speed=0.25 speed=1"},
    {"a reset zeroes a number and tells the changed callbacks; it leaves a boolean",
     [] {
       const auto quad = HAL_CreateSimDevice("Quad[5]");
       const auto position = create(quad, "position", number(2.5));
       const auto brake = create(quad, "brake", flag(true));
       Seen seen;
       HALSIM_RegisterSimValueChangedCallback(position, &seen, value, false);
       HALSIM_RegisterSimValueChangedCallback(brake, &seen, value, false);
       HAL_ResetSimValue(position);
       HAL_ResetSimValue(brake);
       return seen.line + ", brake " + show(get(brake));
     },
     "position=0, brake true"},
    {"with initialNotify a created callback sees the devices of its prefix, then new ones",
     [] {
       HAL_CreateSimDevice("Quad[5]");
       HAL_CreateSimDevice("Small[7]");
       Seen seen;
       HALSIM_RegisterSimDeviceCreatedCallback("Quad", &seen, device, true);
       seen.add("|");
       HAL_CreateSimDevice("Small[8]");
       HAL_CreateSimDevice("Quad[6]");
       return seen.line;
     },
     "Quad[5] | Quad[6]"},
    {"with initialNotify a value-created callback sees its device's values, then new ones",
     [] {
       const auto a = HAL_CreateSimDevice("Quad[5]");
       const auto b = HAL_CreateSimDevice("Quad[6]");
       create(a, "speed", number(0.5));
       Seen seen;
       HALSIM_RegisterSimValueCreatedCallback(a, &seen, value, true);
       seen.add("|");
       create(b, "speed", number(3));
       create(a, "current", number(2));
       Seen listed;
       HALSIM_EnumerateSimValues(a, &listed, value);
       return seen.line + " | listed " + listed.line;
     },
     "speed=0.5 | current=2 | listed speed=0.5 current=2"},
    {"a free calls the freed callbacks of its prefix once and refuses the device's handles",
     [] {
       const auto quad = HAL_CreateSimDevice("Quad[5]");
       const auto speed = create(quad, "speed", number(0.5));
       Seen freed, changed;
       HALSIM_RegisterSimDeviceFreedCallback("Quad", &freed, device, false);
       HALSIM_RegisterSimDeviceFreedCallback("Small", &freed, device, false);
       HALSIM_RegisterSimValueChangedCallback(speed, &changed, value, false);
       HAL_FreeSimDevice(quad);
       HAL_FreeSimDevice(quad);
       set(speed, number(1));
       const bool refused = show(get(speed)) == "unassigned" && create(quad, "x", number(0)) == 0 &&
                            HALSIM_GetSimDeviceHandle("Quad[5]") == 0 &&
                            HALSIM_GetSimDeviceName(quad) == nullptr &&
                            HALSIM_GetSimValueDeviceHandle(speed) == 0 &&
                            HALSIM_GetSimValueHandle(quad, "speed") == 0;
       // The name is free again; the old handles stay refused.
       const auto again = HAL_CreateSimDevice("Quad[5]");
       create(again, "speed", number(7));
       return "freed " + freed.line + ", changed " +
              (changed.line.empty() ? "none" : changed.line) + ", refused " + yesNo(refused) +
              ", again " + yesNo(again > 0 && again != quad) + ", old value " + show(get(speed));
     },
     "freed Quad[5], changed none, refused yes, again yes, old value unassigned"},
    {"HALSIM_ResetSimDeviceData forgets the devices and the callbacks, calling none",
     [] {
       Seen seen;
       HALSIM_RegisterSimDeviceCreatedCallback("", &seen, device, false);
       HALSIM_RegisterSimDeviceFreedCallback("", &seen, device, false);
       const auto quad = HAL_CreateSimDevice("Quad[5]");
       HALSIM_ResetSimDeviceData();
       const bool free = HAL_CreateSimDevice("Quad[5]") > 0;
       HAL_FreeSimDevice(quad);
       return seen.line + ", the name is free " + yesNo(free) + ", " + devices("");
     },
     "Quad[5], the name is free yes, Quad[5]"},
    {"the platform's reset forgets the devices too",
     [] {
       HAL_CreateSimDevice("Quad[5]");
       brovasim::can::reset();
       return devices("");
     },
     "none"},
    {"callbacks that call back into the devices, on their thread or another, finish",
     [] {
       Seen created;
       HALSIM_RegisterSimDeviceCreatedCallback("Quad", &created, createInside, false);
       HAL_CreateSimDevice("Quad[5]");
       HAL_CreateSimDevice("Quad[6]");
       Seen enumerated;
       HALSIM_EnumerateSimDevices("Quad", &enumerated, freeOnAnotherThread);
       const auto small = HAL_CreateSimDevice("Small[7]");
       const auto speed = create(small, "speed", number(0));
       create(small, "echo", number(0));
       Seen changed;
       HALSIM_RegisterSimValueChangedCallback(speed, &changed, echo, false);
       HALSIM_RegisterSimValueChangedCallback(HALSIM_GetSimValueHandle(small, "echo"), &changed,
                                              echo, false);
       set(speed, number(4));
       return created.line + " | " + enumerated.line + " | " + devices("") + " | " + changed.line;
     },
     "Quad[5]/Quad[5] made=1 Quad[6]/Quad[6] made=1 | Quad[5]- Quad[6]- | Small[7] | speed=4 "
     "echo=4"},
    {"threads creating the same names get each name once",
     [] {
       constexpr int kNames = 50;
       std::vector<int> created(4, 0);
       std::vector<std::thread> threads;
       for (int& count : created) {
         threads.emplace_back([&count] {
           for (int i = 0; i < kNames; ++i) {
             count += HAL_CreateSimDevice(("Quad[" + std::to_string(i) + "]").c_str()) > 0;
           }
         });
       }
       for (auto& t : threads) t.join();
       int total = 0;
       for (const int count : created) total += count;
       int listed = 0;
       HALSIM_EnumerateSimDevices(
           "Quad[", &listed,
           [](const char*, void* count, HAL_SimDeviceHandle) { ++*static_cast<int*>(count); });
       return std::to_string(total) + " created, " + std::to_string(listed) + " listed";
     },
     "50 created, 50 listed"},
};

class SimDevices : public SimTest {};

TEST_F(SimDevices, BehaveAsInWpilibsSimulation) {
  for (const Row& row : kRows) {
    SCOPED_TRACE(row.name);
    brovasim::can::reset();
    EXPECT_EQ(row.run(), row.expected);
  }
}

}  // namespace
}  // namespace brova::testing
