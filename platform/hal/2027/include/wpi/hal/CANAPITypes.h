// Device types and manufacturers of the platform's CAN addressing convention, and the frames
// the CAN calls carry.
#pragma once

#include <stdint.h>

#include "wpi/hal/Types.h"

HAL_ENUM(HAL_CANDeviceType){
    HAL_CAN_Dev_kBroadcast = 0,         HAL_CAN_Dev_kRobotController = 1,
    HAL_CAN_Dev_kMotorController = 2,   HAL_CAN_Dev_kRelayController = 3,
    HAL_CAN_Dev_kGyroSensor = 4,        HAL_CAN_Dev_kAccelerometer = 5,
    HAL_CAN_Dev_kUltrasonicSensor = 6,  HAL_CAN_Dev_kGearToothSensor = 7,
    HAL_CAN_Dev_kPowerDistribution = 8, HAL_CAN_Dev_kPneumatics = 9,
    HAL_CAN_Dev_kMiscellaneous = 10,    HAL_CAN_Dev_kIOBreakout = 11,
    HAL_CAN_Dev_kFirmwareUpdate = 31,
};

// Manufacturer codes are assigned by the platform; values without a name here are still valid.
HAL_ENUM(HAL_CANManufacturer){
    HAL_CAN_Man_kBroadcast = 0,
};

#define HAL_CAN_SEND_PERIOD_NO_REPEAT 0

struct HAL_CANMessage {
  int32_t flags;  // 0: a classic CAN frame (no FD)
  uint8_t dataSize;
  uint8_t data[64];
};

struct HAL_CANReceiveMessage {
  uint64_t timeStamp;
  struct HAL_CANMessage message;
};
