#pragma once

#include "platform/Platform.h"
#include "provision/CommandLine.h"
#include "provision/ProgramIo.h"

namespace hw {

// Runs the command on the terminal `os` and returns the exit code. Every
// output begins with the terminal's identity. Whatever can refuse the
// command (the --out file, the profile) is settled before the terminal is
// touched beyond that. A null `os` is a terminal that cannot be reached at
// all (a simulated one that did not load, for the reason `unreachable`
// gives when not null): exit kExitNoDevice, as without "EOM1:", once the
// result file and the profile have been settled.
//
// kStage works beside the program's executable: it applies HWProvision.ini
// there, or makes the report when there is none, with HWProvision.txt and
// the terminal's own HWProvision-ID.txt as result files, HWProvision.log as
// the --log file, and the box.
int RunCommand(const CommandLine& command, Platform* os, ProgramIo& io,
               const Char* unreachable = NULL);

}  // namespace hw
