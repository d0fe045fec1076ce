// Device types and manufacturers of the platform's CAN addressing convention, and the frames
// the CAN calls carry.
#pragma once

#include <stdint.h>

#include "wpi/hal/Types.h"

HAL_ENUM(HAL_CANDeviceType){
    HAL_CAN_DEV_MOTOR_CONTROLLER = 2,
};

// Only the values the project names are declared; every other value of the platform is valid.
HAL_ENUM(HAL_CANManufacturer){
    HAL_CAN_MAN_BROADCAST = 0,
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
