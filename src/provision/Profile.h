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

// The errors a profile reader reports stop after this many, so that an
// engineer fixes a profile in one go without drowning in its errors.
const UInt32 kMaxProfileErrors = 20;

// Where a profile's errors go, each with its line (0 for the file as a
// whole) and its reason.
class ProfileErrors {
 public:
  virtual void Refuse(UInt32 line, const Char* reason) = 0;
  virtual ~ProfileErrors() {}
};

// Reads a whole profile: INI text, UTF-8 or UTF-16LE with a byte-order mark,
// lines ending in LF, CRLF or CR, one [modules] section whose keys are module
// names and whose values are button captions (double quotes around one are
// not part of it) or 0xNN codes of the module's buttons; ";" and "#" start
// comments. Anything else refuses the whole profile: false, with every error
// reported, up to kMaxProfileErrors and then one that says there are more.
bool ParseProfile(const UInt8* bytes, UInt32 size, Profile* profile, ProfileErrors& errors);

// "None (0xFF), HUAWEI_WCDMA (0x01), ...": what a module's key takes.
void AppendButtonsOf(Module module, TextLine& line);

}  // namespace hw
