#pragma once

#include "platform/Platform.h"
#include "provision/Text.h"

namespace hw {

// Left by a sync that restarts the terminal, so that the sync of the boot
// that restart brings does not restart it again. It is on the flash volume,
// where nothing a board may do at a reset takes it away (CE promises nothing
// of the object store across a warm reset), and it holds the clock's UTC
// time when it was written.
//
// It guards exactly one boot: the first sync that finds it fresh removes it,
// whatever that sync finds, and does not restart; the boot after that may
// restart again. So no two boots in a row restart, however late the reset
// comes (a granted reset keeps the marker) and whatever the clock reads
// after it. The window is a second bound, for a marker whose reset never
// came: one older than kRestartWindowMinutes guards nothing. A stamp later
// than the clock (a clock set back, or a real-time clock that came back at
// a cold boot) counts as recent.
extern const Char kRestartMarker[];  // "\Flash Disk\HWProvision.restart"
const UInt32 kRestartWindowMinutes = 10;

enum MarkerState {
  kNoMarker,
  kMarkerFresh,  // written inside the window
  kMarkerAhead,  // its stamp is later than the clock reads: treated as recent
  kMarkerStale   // older than the window, or not one this program wrote
};

// What this boot's sync finds. *written is the marker's time, when it has one.
MarkerState FindRestartMarker(Platform& os, SystemTime* written);
// Writes the marker with the clock's UTC time, flushed, and reads it back.
// False, with why in `why`, when it is not on the volume as written.
bool LeaveRestartMarker(Platform& os, TextLine& why);
void RemoveRestartMarker(Platform& os);

}  // namespace hw
