#pragma once

#include "eeprom/EepromChannel.h"
#include "provision/Profile.h"
#include "provision/ResultCounts.h"
#include "provision/ResultOutput.h"

namespace hw {

// How one module of a profile ended.
enum ItemOutcome { kItemUnchanged, kItemApplied, kItemWouldApply, kItemFailed, kItemWouldFail };

// Applies one module's button as a press in the dialog does it (the same
// write, refresh, provisioning, order and trace lines), unless the cell
// already holds the code and the OS agrees with it; then reads everything
// back; a FAILED line also says what the press changed all the same. A dry
// run changes nothing and says what would change, or "would fail: " and why
// when it can see the press fail (a cell it cannot read, a key the press
// cannot open), which counts as the failure it foretells. Appends the
// item's result line. *madePermanent is false when the press set registry
// values that RegFlushKey did not commit.
ItemOutcome ApplyItem(Platform& os, EepromChannel& channel, const SelectionAction& row, bool dryRun,
                      TextLine& line, bool* madePermanent);

// Applies every module the profile names, in page order, a line each; the
// caller writes the result line from *counts. kExitFailed when an item failed.
int RunApply(Platform& os, EepromChannel& channel, const Profile& profile, bool dryRun,
             ResultOutput& out, ResultCounts* counts);

}  // namespace hw
