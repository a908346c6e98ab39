#include "provision/Commands.h"

#include "eeprom/EepromChannel.h"
#include "provision/Apply.h"
#include "provision/Ending.h"
#include "provision/ExitCodes.h"
#include "provision/Profile.h"
#include "provision/Report.h"
#include "provision/Restart.h"
#include "provision/Save.h"
#include "provision/Staging.h"
#include "provision/Sync.h"

namespace hw {

namespace {

const Char kNoFolder[] = HW_TEXT("HWProvision: the program's own folder cannot be found");

// The profile's bytes: static, since a profile may take up to 64 KB and
// the terminal's stack is small. So are the staging run's paths.
UInt8 profileBytes[kMaxProfileBytes];
StagingFiles staging;
Char terminalResult[kPathCapacity];

// Each error of a refused profile on a line of its own, with the path and
// the line it is on.
class ExplainedErrors : public ProfileErrors {
 public:
  ExplainedErrors(const Char* path, ResultOutput& out, Ending& end)
      : path_(path), out_(out), end_(end) {}
  void Refuse(UInt32 line, const Char* reason) HW_OVERRIDE {
    TextLine text;
    text.Append(path_);
    if (line != 0) text.Append(HW_TEXT(":")).AppendDecimal(line);
    text.Append(HW_TEXT(": ")).Append(reason);
    Explain(text.text(), out_, end_);
  }

 private:
  const Char* path_;
  ResultOutput& out_;
  Ending& end_;
};

bool CheckProfile(const Char* path, ProgramIo::ReadResult read, UInt32 size, Profile* profile,
                  ResultOutput& out, Ending& end) {
  ExplainedErrors errors(path, out, end);
  if (read == ProgramIo::kCannotOpen || read == ProgramIo::kNotFound) {
    errors.Refuse(0, HW_TEXT("cannot be opened"));
  } else if (read == ProgramIo::kReadFailed) {
    errors.Refuse(0, HW_TEXT("cannot be read"));
  } else if (read == ProgramIo::kTooLarge) {
    errors.Refuse(0, HW_TEXT("larger than 64 KB"));
  } else if (ParseProfile(profileBytes, size, profile, errors)) {
    return true;
  }
  end.result.Append(HW_TEXT("result: profile refused, nothing was changed (exit 2)"));
  return false;
}

// Why the terminal cannot be reached, a line at a time: a refused registry
// names each refused line on a line of its own.
void ExplainLines(const Char* text, ResultOutput& out, Ending& end) {
  while (*text != 0) {
    size_t length = 0;
    while (text[length] != 0 && text[length] != '\n') ++length;
    TextLine line;
    line.Append(text, length);
    Explain(line.text(), out, end);
    text += text[length] == '\n' ? length + 1 : length;
  }
}

// Everything between the identity line and the result line. The staging
// run becomes the apply or the report here.
int Work(CommandLine& command, Platform* os, const Char* unreachable, ProgramIo& io,
         ResultOutput& out, Ending& end, bool* restartNow) {
  Profile profile;
  if (command.command == CommandLine::kStage || command.command == CommandLine::kApply) {
    UInt32 size = 0;
    const ProgramIo::ReadResult read =
        io.ReadWholeFile(command.file, profileBytes, kMaxProfileBytes, &size);
    if (command.command == CommandLine::kStage && read == ProgramIo::kNotFound) {
      command.command = CommandLine::kReport;
      command.file = NULL;
      Explain(kNoProfileLine, out, end);
    } else if (command.command == CommandLine::kStage) {
      command.command = CommandLine::kApply;
    }
    if (command.command == CommandLine::kApply &&
        !CheckProfile(command.file, read, size, &profile, out, end)) {
      return kExitRefused;
    }
  }
  if (os == NULL) {
    if (unreachable != NULL) ExplainLines(unreachable, out, end);
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
    default: break;
  }
  return kExitOk;
}

// The staging run's files are those beside the program; the box shows how
// it ended.
bool PlaceBesideProgram(ProgramIo& io, CommandLine* command) {
  if (!FindStagingFiles(io, &staging)) return false;
  command->file = staging.profile;
  command->outFile = staging.result;
  command->logFile = staging.log;
  command->box = true;
  return true;
}

// The terminal's own result file beside the last run's: each terminal staged
// from one card keeps its result.
bool KeepTerminalResult(ResultOutput& out, const Ending& end) {
  TerminalResultPath(staging, end.identity, terminalResult);
  return out.OpenFile(terminalResult);
}

// One that cannot be made fails the run.
void ExplainUnkeptResult(ResultOutput& out, Ending& end) {
  TextLine line;
  line.Append(terminalResult).Append(HW_TEXT(": cannot be created; the result is only in "));
  line.Append(staging.result);
  Explain(line.text(), out, end);
}

}  // namespace

int RunCommand(const CommandLine& given, Platform* os, ProgramIo& io, const Char* unreachable) {
  CommandLine command = given;
  if (command.command == CommandLine::kHelp) {
    PrintUsage(io);
    return kExitOk;
  }
  const bool staged = command.command == CommandLine::kStage;
  if (staged && !PlaceBesideProgram(io, &command)) {
    io.PrintLine(kNoFolder);
    io.ShowMessage(kNoFolder, kBoxCaption, true);
    return kExitRefused;
  }
  ResultOutput out(io);
  RunLog log(io);
  Ending end;
  StartEnding(&end);
  const bool outOpened = command.outFile == NULL || out.OpenFile(command.outFile);
  ReadIdentity(os, &end.identity);
  const bool keptApart = !staged || !outOpened || KeepTerminalResult(out, end);
  TextLine identity;
  AppendIdentityLine(end.identity, identity);
  out.Line(identity);
  if (!keptApart) ExplainUnkeptResult(out, end);

  bool restartNow = false;
  int exit = kExitRefused;
  if (outOpened) {
    exit = Work(command, os, unreachable, io, out, end, &restartNow);
    if (!keptApart && exit == kExitOk) exit = kExitFailed;
  } else {
    end.result.Append(command.outFile);
    end.result.Append(HW_TEXT(": cannot be created; nothing was done (exit 2)"));
  }
  if (command.logFile != NULL) exit = LogRun(command, os, log, out, end, exit);
  if (end.counted) AppendResultLine(end.counts, exit, end.result);
  if (end.result.length() > 0) out.Result(end.result);
  if (restartNow) exit = RestartAfterRun(*os, command, out, log, end, exit);
  if (out.FileFailed()) io.PrintLine(HW_TEXT("HWProvision: the --out file was not written whole"));
  // A run that went for a restart is one at boot, with nobody to close a box.
  if (command.box && !restartNow) {
    const Char* const files[] = {outOpened ? command.outFile : NULL,
                                 staged && keptApart && outOpened ? terminalResult : NULL, NULL};
    ShowBox(end, out, files, staged, exit, io);
  }
  return exit;
}

}  // namespace hw
