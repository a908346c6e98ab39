#pragma once

#include <memory>
#include <string>

#include "platform/Platform.h"

namespace hw {

// A terminal kept in a folder: eeprom.bin, registry.reg, Windows/, Flash Disk/,
// debug.log and the optional faults of device.ini.
class SimulatedTerminal;

// The folder the simulator flavour runs on: $HWSETUP_TERMINAL when set and not
// empty, else "terminal" inside `exeDir`.
std::string FindTerminalFolder(const std::string& exeDir);

}  // namespace hw
