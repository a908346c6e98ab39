#pragma once

#include "provision/Identity.h"
#include "provision/ProgramIo.h"

namespace hw {

// CE's paths are at most MAX_PATH (260) characters.
const size_t kPathCapacity = 260;

// The run with no arguments, as when the program is tapped on a card at the
// line: its files are beside the program's executable.
struct StagingFiles {
  Char profile[kPathCapacity];  // HWProvision.ini: apply it, else report
  Char result[kPathCapacity];   // HWProvision.txt: the last run's lines
  Char log[kPathCapacity];      // HWProvision.log: a line per run
  Char folder[kPathCapacity];   // with its final separator
};

extern const Char kNoProfileLine[];  // "no HWProvision.ini beside the program: report only"

// The files beside the program; false when its folder cannot be had.
bool FindStagingFiles(ProgramIo& io, StagingFiles* files);

// HWProvision-ID.txt beside the program: each terminal's result kept apart
// from the others'. ID is the identity's id, else its name made safe for a
// file name, else "unknown".
void TerminalResultPath(const StagingFiles& files, const TerminalIdentity& identity, Char* path);

}  // namespace hw
