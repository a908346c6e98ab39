#pragma once

#include "eeprom/EepromChannel.h"
#include "eeprom/Label.h"
#include "eeprom/ModuleCells.h"
#include "platform/Platform.h"

namespace hw {

// The label and trace line a value decodes to in a cell.
struct DecodedCell {
  const char16_t* label;
  const char16_t* trace;
};
DecodedCell DecodeCell(const ModuleCell& cell, std::uint8_t value);

// Reads one cell, traces the raw value, shows the decoded label and traces it.
// A closed channel does nothing; a failed read traces it and leaves the label.
void RefreshCell(Platform& os, EepromChannel& channel, const ModuleCell& cell, Label& label);

}  // namespace hw
