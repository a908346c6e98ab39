#include "provision/Commands.h"

#include "eeprom/EepromChannel.h"
#include "provision/Apply.h"
#include "provision/ExitCodes.h"
#include "provision/Identity.h"
#include "provision/Log.h"
#include "provision/Profile.h"
#include "provision/Report.h"
#include "provision/ResultOutput.h"
#include "provision/Save.h"
#include "provision/Sync.h"

namespace hw {

namespace {

const Char* const kUsage[] = {
    HW_TEXT("usage: HWProvision report [--out FILE] [--log FILE] [--box]"),
    HW_TEXT("       HWProvision save FILE [--box]"),
    HW_TEXT("       HWProvision apply FILE [--dry-run] [--out FILE] [--log FILE] [--box]"),
    HW_TEXT("       HWProvision sync [--restart] [--out FILE] [--log FILE] [--box]"),
    HW_TEXT("       HWProvision    (alone: applies HWProvision.ini beside it, else reports)"),
};

const Char kCaption[] = HW_TEXT("HWProvision");
const Char kNoFolder[] = HW_TEXT("HWProvision: the program's own folder cannot be found");

// The profile's bytes: static, since a profile may take up to 64 KB and
// the terminal's stack is small.
UInt8 profileBytes[kMaxProfileBytes];

// The staging run's files beside the program. CE's paths are at most
// MAX_PATH (260) characters.
const size_t kPathCapacity = 260;
const Char kStagedProfile[] = HW_TEXT("HWProvision.ini");
const Char kStagedResult[] = HW_TEXT("HWProvision.txt");
const Char kStagedLog[] = HW_TEXT("HWProvision.log");
Char stagedProfile[kPathCapacity];
Char stagedResult[kPathCapacity];
Char stagedLog[kPathCapacity];

// How a run ended: what its log line, its result line and its box say.
struct Ending {
  TerminalIdentity identity;
  bool timeKnown;
  SystemTime time;  // when the run ended, for its log line
  bool counted;     // the result line is made from `counts`
  ResultCounts counts;
  TextLine result;  // else the result line, or empty when the command wrote its own
  TextLine notes;   // lines that say why, each ending in a line break: for the box
};

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

// --out FILE or --log FILE: once each, with a FILE.
bool ReadFileOption(int argc, const Char* const* argv, int* i, const Char** file, const Char* twice,
                    const Char* needsFile, ProgramIo& io) {
  if (*file != NULL) return UsageError(io, twice, NULL);
  if (*i + 1 == argc) return UsageError(io, needsFile, NULL);
  *file = argv[++*i];
  return true;
}

bool ReadOptions(int argc, const Char* const* argv, CommandLine* command, ProgramIo& io) {
  const bool reports = command->command != CommandLine::kSave;
  for (int i = 2; i < argc; ++i) {
    const Char* argument = argv[i];
    if (TextEquals(argument, HW_TEXT("--out")) && reports) {
      if (!ReadFileOption(argc, argv, &i, &command->outFile, HW_TEXT("--out given twice"),
                          HW_TEXT("--out needs a FILE"), io)) {
        return false;
      }
    } else if (TextEquals(argument, HW_TEXT("--log")) && reports) {
      if (!ReadFileOption(argc, argv, &i, &command->logFile, HW_TEXT("--log given twice"),
                          HW_TEXT("--log needs a FILE"), io)) {
        return false;
      }
    } else if (TextEquals(argument, HW_TEXT("--box")) && !command->box) {
      command->box = true;
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

void Join(const Char* folder, const Char* name, Char* path) {
  while (*folder != 0) *path++ = *folder++;
  while (*name != 0) *path++ = *name++;
  *path = 0;
}

// The staging run's files are those beside the program; the box shows how
// it ended.
bool PlaceBesideProgram(ProgramIo& io, CommandLine* command) {
  Char folder[kPathCapacity];
  if (io.ProgramFolder(folder, kPathCapacity - TextLength(kStagedProfile)) == 0) return false;
  Join(folder, kStagedProfile, stagedProfile);
  Join(folder, kStagedResult, stagedResult);
  Join(folder, kStagedLog, stagedLog);
  command->file = stagedProfile;
  command->outFile = stagedResult;
  command->logFile = stagedLog;
  command->box = true;
  return true;
}

// A line that says why the run ended as it did: printed, and kept for the box.
void Explain(const Char* text, ResultOutput& out, Ending& end) {
  out.Line(text);
  end.notes.Append(text).Append(HW_TEXT("\n"));
}

bool CheckProfile(const Char* path, ProgramIo::ReadResult read, UInt32 size, Profile* profile,
                  ResultOutput& out, Ending& end) {
  ProfileError error;
  error.line = 0;
  bool parsed = false;
  if (read == ProgramIo::kCannotOpen || read == ProgramIo::kNotFound) {
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
  Explain(line.text(), out, end);
  end.result.Append(HW_TEXT("result: profile refused, nothing was changed (exit 2)"));
  return false;
}

// Everything between the identity line and the result line. The staging
// run becomes the apply or the report here.
int Work(CommandLine& command, Platform* os, ProgramIo& io, ResultOutput& out, Ending& end,
         bool* restartNow) {
  Profile profile;
  if (command.command == CommandLine::kStage || command.command == CommandLine::kApply) {
    UInt32 size = 0;
    const ProgramIo::ReadResult read =
        io.ReadWholeFile(command.file, profileBytes, kMaxProfileBytes, &size);
    if (command.command == CommandLine::kStage) {
      command.command = read == ProgramIo::kNotFound ? CommandLine::kReport : CommandLine::kApply;
      if (command.command == CommandLine::kReport) command.file = NULL;
    }
    if (command.command == CommandLine::kApply &&
        !CheckProfile(command.file, read, size, &profile, out, end)) {
      return kExitRefused;
    }
  }
  if (os == NULL) {
    Explain(HW_TEXT("the terminal cannot be reached"), out, end);
    end.result.Append(HW_TEXT("result: nothing was read or changed (exit 3)"));
    return kExitNoDevice;
  }
  EepromChannel channel(*os);
  if (!channel.Open()) {
    Explain(HW_TEXT("EOM1: does not open: the configuration EEPROM cannot be reached"), out, end);
    end.result.Append(HW_TEXT("result: nothing was read or changed (exit 3)"));
    return kExitNoDevice;
  }
  end.counted = command.command != CommandLine::kSave;
  switch (command.command) {
    case CommandLine::kReport: return RunReport(*os, channel, out, &end.counts);
    case CommandLine::kSave: return RunSave(channel, io, command.file, out);
    case CommandLine::kApply:
      return RunApply(*os, channel, profile, command.dryRun, out, &end.counts);
    case CommandLine::kSync:
      return RunSync(*os, channel, command.restart, out, &end.counts, restartNow);
    case CommandLine::kStage: break;
  }
  return kExitOk;
}

const Char* CommandName(const CommandLine& command) {
  switch (command.command) {
    case CommandLine::kApply: return command.dryRun ? HW_TEXT("apply --dry-run") : HW_TEXT("apply");
    case CommandLine::kSync: return command.restart ? HW_TEXT("sync --restart") : HW_TEXT("sync");
    case CommandLine::kSave: return HW_TEXT("save");
    default: return HW_TEXT("report");
  }
}

LogEntry EntryOf(const CommandLine& command, const Ending& end, int exit) {
  const LogEntry entry = {end.timeKnown ? &end.time : NULL,
                          &end.identity,
                          CommandName(command),
                          command.command == CommandLine::kApply ? command.file : NULL,
                          end.counted ? &end.counts : NULL,
                          exit};
  return entry;
}

void ExplainLogFailure(const Char* path, LogResult logged, ResultOutput& out, Ending& end) {
  TextLine line;
  line.Append(path);
  line.Append(logged == kLogNotOpened
                  ? HW_TEXT(": the log cannot be opened; this run is not in it")
                  : HW_TEXT(": the log cannot be written; this run's line is missing or cut"));
  Explain(line.text(), out, end);
}

// Adds the run's line to the log. A log that cannot take it fails a run
// that would have succeeded; the work itself stands.
int Log(const CommandLine& command, Platform* os, RunLog& log, ResultOutput& out, Ending& end,
        int exit) {
  end.timeKnown = os != NULL;
  if (os != NULL) os->GetLocalTime(&end.time);
  const LogResult logged = log.Add(command.logFile, EntryOf(command, end, exit));
  if (logged == kLogged) return exit;
  ExplainLogFailure(command.logFile, logged, out, end);
  return exit == kExitOk ? kExitFailed : exit;
}

// Restarts the terminal once the run's own files are whole on their volume:
// a reset drops what the file system still caches. Should the terminal not
// restart, the lines after the result line say why and the log's line takes
// the run's real exit code.
int Restart(Platform& os, const CommandLine& command, ResultOutput& out, RunLog& log,
            Ending& end, int exit) {
  const bool logKept = command.logFile == NULL || (exit == kExitOk && log.Flush());
  const bool outKept = command.outFile == NULL || (!out.FileFailed() && out.Flush());
  TextLine line;
  if (!outKept || !logKept) {
    CancelRestart(os);
    line.Append(HW_TEXT("restart called off: ")).Append(outKept ? command.logFile : command.outFile);
    line.Append(HW_TEXT(" is not whole on its volume"));
  } else {
    const UInt32 error = RestartTerminal(os);
    if (error == 0) return kExitOk;
    line.Append(HW_TEXT("restart refused: SetSystemPowerState failed with error "));
    line.AppendDecimal(error);
  }
  line.Append(HW_TEXT("; the drivers load the restored values at the next boot"));
  Explain(line.text(), out, end);
  line.Clear().Append(outKept && logKept ? HW_TEXT("result: restart refused (exit 1)")
                                         : HW_TEXT("result: restart called off (exit 1)"));
  out.Result(line);
  const LogResult logged = command.logFile != NULL ? log.Replace(EntryOf(command, end, kExitFailed))
                                                   : kLogged;
  if (logged != kLogged && exit == kExitOk) ExplainLogFailure(command.logFile, logged, out, end);
  return kExitFailed;
}

// The identity, why the run ended so, the result line and where every line is.
void ShowBox(const CommandLine& command, bool outOpened, const ResultOutput& out, const Ending& end,
             int exit, ProgramIo& io) {
  TextLine text;
  AppendIdentityLine(end.identity, text);
  text.Append(HW_TEXT("\n")).Append(end.notes.text()).Append(out.result());
  if (command.outFile != NULL && outOpened) {
    text.Append(out.FileFailed() ? HW_TEXT("\n\nNot every line could be written to ")
                                 : HW_TEXT("\n\nEvery line is in "));
    text.Append(command.outFile);
  }
  io.ShowMessage(text.text(), kCaption, exit != kExitOk);
}

}  // namespace

bool ReadCommandLine(int argc, const Char* const* argv, CommandLine* command, ProgramIo& io) {
  command->file = NULL;
  command->outFile = NULL;
  command->logFile = NULL;
  command->dryRun = false;
  command->restart = false;
  command->box = false;
  command->command = CommandLine::kStage;
  if (argc < 2) return true;
  const Char* word = argv[1];
  if (TextEquals(word, HW_TEXT("report"))) {
    command->command = CommandLine::kReport;
  } else if (TextEquals(word, HW_TEXT("save"))) {
    command->command = CommandLine::kSave;
  } else if (TextEquals(word, HW_TEXT("apply"))) {
    command->command = CommandLine::kApply;
  } else if (TextEquals(word, HW_TEXT("sync"))) {
    command->command = CommandLine::kSync;
  } else if (word[0] == '-' && word[1] == '-') {
    return UsageError(io, HW_TEXT("no command"), NULL);
  } else {
    return UsageError(io, HW_TEXT("unknown command"), word);
  }
  return ReadOptions(argc, argv, command, io);
}

int RunCommand(const CommandLine& given, Platform* os, ProgramIo& io) {
  CommandLine command = given;
  if (command.command == CommandLine::kStage && !PlaceBesideProgram(io, &command)) {
    io.PrintLine(kNoFolder);
    io.ShowMessage(kNoFolder, kCaption, true);
    return kExitRefused;
  }
  ResultOutput out(io);
  RunLog log(io);
  Ending end;
  end.timeKnown = false;
  end.counted = false;
  const bool outOpened = command.outFile == NULL || out.OpenFile(command.outFile);
  ReadIdentity(os, &end.identity);
  TextLine identity;
  AppendIdentityLine(end.identity, identity);
  out.Line(identity);

  bool restartNow = false;
  int exit = kExitRefused;
  if (outOpened) {
    exit = Work(command, os, io, out, end, &restartNow);
  } else {
    end.result.Append(command.outFile);
    end.result.Append(HW_TEXT(": cannot be created; nothing was done (exit 2)"));
  }
  if (command.logFile != NULL) exit = Log(command, os, log, out, end, exit);
  if (end.counted) AppendResultLine(end.counts, exit, end.result);
  if (end.result.length() > 0) out.Result(end.result);
  if (restartNow) exit = Restart(*os, command, out, log, end, exit);
  if (out.FileFailed()) io.PrintLine(HW_TEXT("HWProvision: the --out file was not written whole"));
  if (command.box) ShowBox(command, outOpened, out, end, exit, io);
  return exit;
}

}  // namespace hw
