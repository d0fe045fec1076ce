// Device types and manufacturers of the platform's CAN addressing convention.
#pragma once

#include "hal/Types.h"

HAL_ENUM(HAL_CANDeviceType){
    HAL_CAN_Dev_kMotorController = 2,
};

// Only the values the project names are declared; every other value of the platform is valid.
HAL_ENUM(HAL_CANManufacturer){
    HAL_CAN_Man_kBroadcast = 0,
};
