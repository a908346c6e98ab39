#pragma once

#include "platform/Platform.h"
#include "provision/Text.h"

namespace hw {

// Left by a sync that restarts the terminal, so that the syncs after that
// restart do not restart it again. It is on the flash volume, where nothing
// a board may do at a reset takes it away (CE promises nothing of the
// object store across a warm reset), and it holds the clock's UTC time when
// it was written. It guards only the boots of the next kRestartWindowMinutes:
// a marker older than that is stale, and the boot may restart once more.
// The first sync that finds nothing to restore removes it.
extern const Char kRestartMarker[];  // "\Flash Disk\HWProvision.restart"
const UInt32 kRestartWindowMinutes = 10;

enum MarkerState {
  kNoMarker,
  kMarkerFresh,  // written inside the window, or later than the clock reads
  kMarkerStale   // older, or not one this program wrote
};

// What this boot's sync finds. *written is the marker's time, when it has one.
MarkerState FindRestartMarker(Platform& os, SystemTime* written);
// Writes the marker with the clock's UTC time, flushed, and reads it back.
// False, with why in `why`, when it is not on the volume as written.
bool LeaveRestartMarker(Platform& os, TextLine& why);
void RemoveRestartMarker(Platform& os);

}  // namespace hw
