#include "provision/Commands.h"

#include "eeprom/EepromChannel.h"
#include "provision/Apply.h"
#include "provision/ExitCodes.h"
#include "provision/Profile.h"
#include "provision/Report.h"
#include "provision/ResultOutput.h"
#include "provision/Save.h"
#include "provision/Sync.h"

namespace hw {

namespace {

const Char* const kUsage[] = {
    HW_TEXT("usage: HWProvision report [--out FILE]"),
    HW_TEXT("       HWProvision save FILE"),
    HW_TEXT("       HWProvision apply FILE [--dry-run] [--out FILE]"),
    HW_TEXT("       HWProvision sync [--restart] [--out FILE]"),
};

// The profile's bytes: static, since a profile may take up to 64 KB and
// the terminal's stack is small.
UInt8 profileBytes[kMaxProfileBytes];

bool UsageError(ProgramIo& io, const Char* reason, const Char* argument) {
  TextLine line;
  line.Append(HW_TEXT("HWProvision: ")).Append(reason);
  if (argument != NULL) line.Append(HW_TEXT(" ")).AppendQuoted(argument);
  io.PrintLine(line.text());
  for (size_t i = 0; i < HW_COUNT_OF(kUsage); ++i) io.PrintLine(kUsage[i]);
  return false;
}

bool TakesFile(CommandLine::Command command) {
  return command == CommandLine::kSave || command == CommandLine::kApply;
}

bool ReadOptions(int argc, const Char* const* argv, CommandLine* command, ProgramIo& io) {
  for (int i = 2; i < argc; ++i) {
    const Char* argument = argv[i];
    if (TextEquals(argument, HW_TEXT("--out")) && command->command != CommandLine::kSave) {
      if (command->outFile != NULL) return UsageError(io, HW_TEXT("--out given twice"), NULL);
      if (i + 1 == argc) return UsageError(io, HW_TEXT("--out needs a FILE"), NULL);
      command->outFile = argv[++i];
    } else if (TextEquals(argument, HW_TEXT("--dry-run")) &&
               command->command == CommandLine::kApply && !command->dryRun) {
      command->dryRun = true;
    } else if (TextEquals(argument, HW_TEXT("--restart")) &&
               command->command == CommandLine::kSync && !command->restart) {
      command->restart = true;
    } else if (argument[0] == '-' && argument[1] == '-') {
      return UsageError(io, HW_TEXT("this command takes no option"), argument);
    } else if (!TakesFile(command->command) || command->file != NULL) {
      return UsageError(io, HW_TEXT("one argument too many:"), argument);
    } else {
      command->file = argument;
    }
  }
  if (TakesFile(command->command) && command->file == NULL) {
    return UsageError(io, HW_TEXT("this command needs a FILE"), NULL);
  }
  return true;
}

bool LoadProfile(const Char* path, ProgramIo& io, Profile* profile, ResultOutput& out) {
  UInt32 size = 0;
  const ProgramIo::ReadResult read = io.ReadWholeFile(path, profileBytes, kMaxProfileBytes, &size);
  ProfileError error;
  error.line = 0;
  bool parsed = false;
  if (read == ProgramIo::kCannotOpen) {
    error.reason.Append(HW_TEXT("cannot be opened"));
  } else if (read == ProgramIo::kReadFailed) {
    error.reason.Append(HW_TEXT("cannot be read"));
  } else if (read == ProgramIo::kTooLarge) {
    error.reason.Append(HW_TEXT("larger than 64 KB"));
  } else {
    parsed = ParseProfile(profileBytes, size, profile, &error);
  }
  if (parsed) return true;
  TextLine line;
  line.Append(path);
  if (error.line != 0) line.Append(HW_TEXT(":")).AppendDecimal(error.line);
  line.Append(HW_TEXT(": ")).Append(error.reason.text());
  out.Line(line);
  out.Line(HW_TEXT("result: profile refused, nothing was changed (exit 2)"));
  return false;
}

// Restarts the terminal once the result file is whole on the disk. Should
// the terminal refuse, the file is reopened to say so.
int Restart(Platform& os, const Char* outFile, ResultOutput& out) {
  out.CloseFile();
  const UInt32 error = RestartTerminal(os);
  if (error == 0) return kExitOk;
  if (outFile != NULL) out.ReopenFile(outFile);
  TextLine line;
  line.Append(HW_TEXT("restart refused: SetSystemPowerState failed with error "));
  line.AppendDecimal(error);
  line.Append(HW_TEXT("; the drivers load the restored values at the next boot"));
  out.Line(line);
  out.Line(HW_TEXT("result: restart refused (exit 1)"));
  return kExitFailed;
}

}  // namespace

bool ReadCommandLine(int argc, const Char* const* argv, CommandLine* command, ProgramIo& io) {
  command->file = NULL;
  command->outFile = NULL;
  command->dryRun = false;
  command->restart = false;
  if (argc < 2) return UsageError(io, HW_TEXT("no command"), NULL);
  const Char* word = argv[1];
  if (TextEquals(word, HW_TEXT("report"))) {
    command->command = CommandLine::kReport;
  } else if (TextEquals(word, HW_TEXT("save"))) {
    command->command = CommandLine::kSave;
  } else if (TextEquals(word, HW_TEXT("apply"))) {
    command->command = CommandLine::kApply;
  } else if (TextEquals(word, HW_TEXT("sync"))) {
    command->command = CommandLine::kSync;
  } else {
    return UsageError(io, HW_TEXT("unknown command"), word);
  }
  return ReadOptions(argc, argv, command, io);
}

int RunCommand(const CommandLine& command, Platform* os, ProgramIo& io) {
  ResultOutput out(io);
  if (command.outFile != NULL && !out.OpenFile(command.outFile)) {
    TextLine line;
    line.Append(command.outFile).Append(HW_TEXT(": cannot be created; nothing was done (exit 2)"));
    out.Line(line);
    return kExitRefused;
  }
  Profile profile;
  if (command.command == CommandLine::kApply && !LoadProfile(command.file, io, &profile, out)) {
    return kExitRefused;
  }
  if (os == NULL) {
    out.Line(HW_TEXT("the terminal cannot be reached"));
    out.Line(HW_TEXT("result: nothing was read or changed (exit 3)"));
    return kExitNoDevice;
  }
  EepromChannel channel(*os);
  if (!channel.Open()) {
    out.Line(HW_TEXT("EOM1: does not open: the configuration EEPROM cannot be reached"));
    out.Line(HW_TEXT("result: nothing was read or changed (exit 3)"));
    return kExitNoDevice;
  }
  int exit = kExitOk;
  bool restartNow = false;
  switch (command.command) {
    case CommandLine::kReport: exit = RunReport(*os, channel, out); break;
    case CommandLine::kSave: exit = RunSave(channel, io, command.file, out); break;
    case CommandLine::kApply: exit = RunApply(*os, channel, profile, command.dryRun, out); break;
    case CommandLine::kSync: exit = RunSync(*os, channel, command.restart, out, &restartNow); break;
  }
  if (out.FileFailed()) io.PrintLine(HW_TEXT("HWProvision: the --out file was not written whole"));
  if (restartNow) exit = Restart(*os, command.outFile, out);
  return exit;
}

}  // namespace hw
