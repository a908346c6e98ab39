#pragma once

#include "eeprom/ModuleCells.h"
#include "setup/SelectionTable.h"

namespace hw {

// The name a profile and the result lines give a module: "keypad",
// "fingerprint", "3G", "LF", "handle key", "Bluetooth", "WiFi", "serial chip",
// "power chip".
const Char* ModuleName(Module module);
// The module a profile key names, compared without case; false when none.
bool ModuleNamed(const Char* name, size_t length, Module* module);

// Lookups in the selection table by what a profile or a cell holds.
const SelectionAction* SelectionWriting(Module module, UInt8 code);
const SelectionAction* SelectionCaptioned(Module module, const Char* caption, size_t length);
// True when some button of the module provisions the OS besides writing its cell.
bool ProvisionsTheOs(Module module);

}  // namespace hw
