#pragma once

#include "eeprom/EepromChannel.h"
#include "eeprom/Label.h"
#include "eeprom/ModuleCells.h"
#include "platform/Platform.h"

namespace hw {

// The label and trace line a value decodes to in a cell.
struct DecodedCell {
  const Char* label;
  const Char* trace;
};
DecodedCell DecodeCell(const ModuleCell& cell, UInt8 value);

// Reads one cell, traces the raw value, shows the decoded label and traces it.
// A closed channel does nothing; a failed read traces it and leaves the label.
void RefreshCell(Platform& os, EepromChannel& channel, const ModuleCell& cell, Label& label);

}  // namespace hw
