#pragma once

#include "provision/Text.h"
#include "setup/SelectionTable.h"

namespace hw {

// A profile file is at most this big; a larger one is refused unread.
const UInt32 kMaxProfileBytes = 64 * 1024;

// A checked profile: for each module it names, the button to apply.
struct Profile {
  const SelectionAction* selections[kModuleCellCount];  // by Module; null: not named
};

// Why a profile was refused: the line (0 for the file as a whole) and the reason.
struct ProfileError {
  UInt32 line;
  TextLine reason;
};

// Reads a whole profile: INI text, UTF-8 or UTF-16LE with a byte-order mark,
// one [modules] section whose keys are module names and whose values are
// button captions or 0xNN codes of the module's buttons; ";" and "#" start
// comments. Anything else refuses the whole profile: false, with `error` set.
bool ParseProfile(const UInt8* bytes, UInt32 size, Profile* profile, ProfileError* error);

// "None (0xFF), HUAWEI_WCDMA (0x01), ...": what a module's key takes.
void AppendButtonsOf(Module module, TextLine& line);

}  // namespace hw
