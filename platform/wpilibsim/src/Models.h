// The device models attached to WPILib's simulation: one per controller and board the library
// opens (it makes each a simulated device; brovamodels/DeviceValues.h), answering the frames and
// transfers the simulation's callbacks (Callbacks.cpp) hand over. Thread-safe.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace brovawpilib {

// A simulated device was created or freed.
void deviceCreated(const char* name, int32_t device);
void deviceFreed(int32_t device);

// A CAN frame the program sent on `bus`: the controller it addresses hears it.
void frameSent(int32_t bus, uint32_t id, const uint8_t* data, std::size_t size);
// The latest reply with identifier `id` on `bus` that is due, taken; false when none is.
bool takeReply(int32_t bus, uint32_t id, std::array<uint8_t, 8>& data);

// An I2C write or read on `port`: the board there, if one is attached, answers it.
void written(int32_t port, const uint8_t* data, std::size_t count);
void read(int32_t port, uint8_t* buffer, std::size_t count);

}  // namespace brovawpilib
