#pragma once

#include "platform/Platform.h"
#include "setup/MessageBoxOwner.h"

namespace hw {

extern const Char kPsConfigSource[];       // "\Windows\PSconfig.psr"
extern const Char kPsConfig1Source[];      // "\Windows\PSconfig1.psr"
extern const Char kPsConfigDestination[];  // "\Flash Disk\PSconfig.psr"
extern const Char kSetupFailedText[];
extern const Char kSetupFailedCaption[];

const UInt32 kPsConfigBufferSize = 10240;
const UInt32 kPsConfigMinimumSize = 100;

// What PsConfigInstall returns for a flush that failed while GetLastError
// named no error: a failure all the same.
const UInt32 kFlushFailedWithoutError = 0xFFFFFFFFu;

// Copies a Bluetooth configuration file over "\Flash Disk\PSconfig.psr" with
// one read and one write through a stack buffer, and flushes it through the
// writing handle. Any failure, including a source too big for the buffer,
// shows "Setup Failed!" once. Returns FlushFileBuffers' error when the file
// was written but not flushed (like a registry flush, not a failed install;
// kFlushFailedWithoutError when there was none to tell), else 0.
UInt32 PsConfigInstall(Platform& os, const Char* source, MessageBoxOwner& owner);

}  // namespace hw
