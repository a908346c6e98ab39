#pragma once

#include "platform/Platform.h"
#include "provision/ProgramIo.h"

namespace hw {

// What the command line asks for.
struct CommandLine {
  enum Command { kReport, kSave, kApply, kSync };
  Command command;
  const Char* file;     // save, apply
  const Char* outFile;  // report, apply, sync: null when not given
  bool dryRun;          // apply
  bool restart;         // sync
};

// Reads the arguments (argv[0] is the program). On a usage error prints the
// reason and the usage on standard output and returns false: exit kExitRefused.
bool ReadCommandLine(int argc, const Char* const* argv, CommandLine* command, ProgramIo& io);

// Runs the command on the terminal `os` and returns the exit code. Whatever
// can refuse the command (the --out file, the profile) is settled before the
// terminal is touched. A null `os` is a terminal that cannot be reached at
// all (a simulated one that did not load): exit kExitNoDevice, as without
// "EOM1:", once the result file and the profile have been settled.
int RunCommand(const CommandLine& command, Platform* os, ProgramIo& io);

}  // namespace hw
