#pragma once

#include "eeprom/EepromChannel.h"
#include "provision/ProgramIo.h"
#include "provision/ResultOutput.h"

namespace hw {

// Writes the buttons the nine cells select as a profile at `path` (UTF-8,
// CRLF). A cell whose value no button writes, or that cannot be read, goes in
// as a comment, and so does what runs of the 3G and WiFi drivers, for the
// record. kExitRefused when the file cannot be created, kExitFailed when it
// was not all written or a cell could not be read.
int RunSave(Platform& os, EepromChannel& channel, ProgramIo& io, const Char* path,
            ResultOutput& out);

}  // namespace hw
