#pragma once

#include "eeprom/EepromChannel.h"
#include "eeprom/ModuleCells.h"
#include "provision/ResultCounts.h"
#include "provision/ResultOutput.h"
#include "provision/RunningDriver.h"

namespace hw {

// How long a run waits for the reset it was granted: CE promises neither
// that SetSystemPowerState never returns when it succeeds, nor how soon the
// reset follows.
const UInt32 kResetWaitMilliseconds = 30000;

enum SyncOutcome {
  kSyncConsistent,
  kSyncRestored,
  kSyncNotManaged,
  kSyncLeftAlone,   // a value no button writes
  kSyncUnreadable,  // left alone too, but the run fails
  kSyncFailed,
  kSyncRestoredAgain  // FAILED: restored once more, inside the window after a restart
};

// Brings the OS in line with one module's cell: where it differs from what
// the button of the cell's value leaves there, runs that button's
// provisioning step alone (the cell already holds the value) and reads
// everything back. `afterRestart`: a restore is needed although the last
// sync restarted the terminal for it, which makes the module FAILED
// whatever the new restore does.
// How one module's sync ended.
struct SyncedModule {
  SyncOutcome outcome;
  // The error of the restore's RegFlushKey (FlushFileBuffers for the
  // Bluetooth file), 0 when it was made permanent or nothing was restored.
  long flushed;
  DriverAudit driver;  // what runs, against the OS as the sync leaves it
};

// Appends the module's line. What runs is judged from `drivers`, read before.
// After a restart (`afterRestart`), a restore whose driver already runs as
// the cell calls for is no failure.
SyncedModule SyncModule(Platform& os, EepromChannel& channel, Module module, bool afterRestart,
                        const DriverList& drivers, TextLine& line);

// A line for each module whose buttons provision the OS, in page order; the
// caller writes the result line from *counts. A restart marker it finds is
// removed at once; a fresh one means this is the boot after a restart, and
// what it restores is FAILED and restarted for at the next boot only. With
// `restart`, when something was restored (whatever else FAILED, but with
// every cell read and every registry group flushed as the registry keeps
// it), flushes the Bluetooth file, leaves the marker, flushed and read
// back, and sets *restartNow: the caller restarts the terminal once its own
// files are on their volume, or calls the restart off.
// A sync that restores nothing and finds no marker makes reads only.
int RunSync(Platform& os, EepromChannel& channel, bool restart, ResultOutput& out,
            ResultCounts* counts, bool* restartNow);

// The warm reset, which keeps the registry, so that the drivers load what a
// sync restored. Returns only when the terminal refuses it, with the error
// (the marker is removed then), or, with 0, when the reset it granted has
// not come kResetWaitMilliseconds later (the marker stays: the reset may
// still come).
UInt32 RestartTerminal(Platform& os);

}  // namespace hw
