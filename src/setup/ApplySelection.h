#pragma once

#include "eeprom/EepromChannel.h"
#include "eeprom/Label.h"
#include "platform/Platform.h"
#include "setup/MessageBoxOwner.h"
#include "setup/SelectionTable.h"

namespace hw {

// Runs one button: writes the row's code, refreshes the cell into `label` and
// provisions the OS in the row's order. A closed channel does nothing.
// Returns RegFlushKey's result when the press set a registry group, the
// installed file's FlushFileBuffers error when it installed one, else
// ERROR_SUCCESS; the dialog does not examine it.
long ApplySelection(Platform& os, EepromChannel& channel, const SelectionAction& row,
                    Label& label, MessageBoxOwner& owner);

// A row's provisioning step by itself, exactly as its press runs it, and the
// same result.
long RunProvisioningStep(Platform& os, Provisioning step, MessageBoxOwner& owner);

}  // namespace hw
