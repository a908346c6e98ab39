#pragma once

#include "platform/Platform.h"
#include "platform/simulator/terminal/DeviceConfig.h"

namespace hw::sim {

// KernelIoControl as the terminal's OEM layer answers it, too small buffers
// included: IOCTL_HAL_GET_DEVICEID with device.ini's [terminal] preset id
// and id (its platform id), IOCTL_HAL_GET_DEVICE_INFO's SPI_GETUUID with
// its uuid. Nothing else is modelled.
int AnswerKernelIoControl(const DeviceConfig& config, UInt32 ioControlCode, const void* inBuffer,
                          UInt32 inSize, void* outBuffer, UInt32 outSize, UInt32* bytesReturned);

}  // namespace hw::sim
