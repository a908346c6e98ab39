#pragma once

#include "platform/Types.h"
#include "provision/ProgramIo.h"

namespace hw {

// What the command line asks for.
struct CommandLine {
  // kStage: no arguments at all, as when the program is tapped on a card.
  // kHelp: --help, -h or /? anywhere: the usage, and nothing else.
  enum Command { kReport, kSave, kApply, kSync, kStage, kHelp };
  Command command;
  const Char* file;     // save, apply
  const Char* outFile;  // report, apply, sync: null when not given
  const Char* logFile;  // report, apply, sync: null when not given
  bool dryRun;          // apply
  bool restart;         // sync
  bool box;             // any: the outcome in a message box at the end
  // Started from HKLM\Init: its one argument was the sequence id the system
  // passes a LaunchNN program, which SignalStarted gives back.
  bool startedByInit;
  UInt32 sequence;
};

// Where the boot's sync keeps its result.
extern const Char kBootResultFile[];  // "\Flash Disk\HWProvision-boot.txt"

// Reads the arguments (argv[0] is the program). On a usage error prints the
// reason and the usage on standard output and returns false: exit kExitRefused.
bool ReadCommandLine(int argc, const Char* const* argv, CommandLine* command, ProgramIo& io);

void PrintUsage(ProgramIo& io);

}  // namespace hw
