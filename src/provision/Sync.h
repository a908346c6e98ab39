#pragma once

#include "eeprom/EepromChannel.h"
#include "eeprom/ModuleCells.h"
#include "provision/ResultCounts.h"
#include "provision/ResultOutput.h"

namespace hw {

// Left by a sync that restarts the terminal, removed by the first sync that
// finds nothing to restore: a sync that finds it still has to restore has
// restarted once already and must not again. It lives in the object store,
// CE's RAM file system at the root, which a warm reset keeps and a cold boot
// clears: the marker outlives exactly the reset it guards, and goes with the
// RAM registry it speaks for.
extern const Char kRestartMarker[];  // "\HWProvision.restart"

enum SyncOutcome {
  kSyncConsistent,
  kSyncRestored,
  kSyncNotManaged,
  kSyncLeftAlone,   // a value no button writes
  kSyncUnreadable,  // left alone too, but the run fails
  kSyncFailed
};

// Brings the OS in line with one module's cell: where it differs from what
// the button of the cell's value leaves there, runs that button's
// provisioning step alone (the cell already holds the value) and reads
// everything back. `afterRestart`: a restore is needed although the last
// sync restarted the terminal for it, which makes the module FAILED
// whatever the new restore does.
// Appends the module's line; *madePermanent is false when a restore set
// registry values that RegFlushKey did not commit.
SyncOutcome SyncModule(Platform& os, EepromChannel& channel, Module module, bool afterRestart,
                       TextLine& line, bool* madePermanent);

// A line for each module whose buttons provision the OS, in page order; the
// caller writes the result line from *counts. With `restart`, when something
// was restored and nothing failed, flushes a restored Bluetooth file, leaves
// kRestartMarker, flushed and read back, and sets *restartNow: the caller
// restarts the terminal once its own files are on their volume, or calls
// the restart off.
// A sync that restores nothing makes reads only (and removes the marker if
// there is one).
int RunSync(Platform& os, EepromChannel& channel, bool restart, ResultOutput& out,
            ResultCounts* counts, bool* restartNow);

// The warm reset, which keeps the registry, so that the drivers load what a
// sync restored. Returns only when the terminal refuses it, with the error,
// and then removes the marker again.
UInt32 RestartTerminal(Platform& os);
// Removes the marker of a restart that will not happen.
void CancelRestart(Platform& os);

}  // namespace hw
