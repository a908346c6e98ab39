#pragma once

#include "platform/Platform.h"
#include "provision/ProgramIo.h"

namespace hw {

// What the command line asks for.
struct CommandLine {
  // kStage: no arguments at all, as when the program is tapped on a card.
  enum Command { kReport, kSave, kApply, kSync, kStage };
  Command command;
  const Char* file;     // save, apply
  const Char* outFile;  // report, apply, sync: null when not given
  const Char* logFile;  // report, apply, sync: null when not given
  bool dryRun;          // apply
  bool restart;         // sync
  bool box;             // any: the outcome in a message box at the end
};

// Reads the arguments (argv[0] is the program). On a usage error prints the
// reason and the usage on standard output and returns false: exit kExitRefused.
bool ReadCommandLine(int argc, const Char* const* argv, CommandLine* command, ProgramIo& io);

// Runs the command on the terminal `os` and returns the exit code. Every
// output begins with the terminal's identity. Whatever can refuse the
// command (the --out file, the profile) is settled before the terminal is
// touched beyond that. A null `os` is a terminal that cannot be reached at
// all (a simulated one that did not load): exit kExitNoDevice, as without
// "EOM1:", once the result file and the profile have been settled.
//
// kStage works beside the program's executable: it applies HWProvision.ini
// there, or makes the report when there is none, with HWProvision.txt as the
// --out file, HWProvision.log as the --log file, and the box.
int RunCommand(const CommandLine& command, Platform* os, ProgramIo& io);

}  // namespace hw
