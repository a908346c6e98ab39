#pragma once

#include "eeprom/EepromChannel.h"
#include "eeprom/Label.h"
#include "platform/Platform.h"
#include "setup/MessageBoxOwner.h"
#include "setup/SelectionTable.h"

namespace hw {

// Runs one button: writes the row's code, refreshes the cell into `label` and
// provisions the OS in the row's order. A closed channel does nothing.
void ApplySelection(Platform& os, EepromChannel& channel, const SelectionAction& row,
                    Label& label, MessageBoxOwner& owner);

}  // namespace hw
