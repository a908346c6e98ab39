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
const Char kNothingChanged[] = HW_TEXT("nothing was read or changed");
const Char kCardCannotKeep[] = HW_TEXT("the card cannot keep this run's records, nothing was done");

// The profile's bytes: static, since a profile may take up to 64 KB and
// the terminal's stack is small. So are the staging run's paths.
UInt8 profileBytes[kMaxProfileBytes];
StagingFiles staging;
Char terminalResult[kPathCapacity];

// A run as it is done: the staging run is resolved into the apply or the
// report of the files beside the program before any work starts.
struct Run {
  CommandLine command;
  bool staged;
  ProgramIo::ReadResult profileRead;  // apply: the profile read into profileBytes
  UInt32 profileSize;
};

// How the work ended: the exit code, and whether the terminal restarts now.
struct WorkEnd {
  int exit;
  bool restart;
};

// Each error of a refused profile on a line of its own, with the path and
// the line it is on; counted for the log.
class ExplainedErrors : public ProfileErrors {
 public:
  ExplainedErrors(const Char* path, ResultOutput& out, Ending& end)
      : path_(path), out_(out), end_(end), count_(0) {}
  void Refuse(UInt32 line, const Char* reason) HW_OVERRIDE {
    TextLine text;
    text.Append(path_);
    if (line != 0) text.Append(HW_TEXT(":")).AppendDecimal(line);
    text.Append(HW_TEXT(": ")).Append(reason);
    Explain(text.text(), out_, end_);
    ++count_;
  }
  UInt32 count() const { return count_; }

 private:
  const Char* path_;
  ResultOutput& out_;
  Ending& end_;
  UInt32 count_;
};

bool CheckProfile(const Run& run, Profile* profile, ResultOutput& out, Ending& end) {
  ExplainedErrors errors(run.command.file, out, end);
  if (run.profileRead == ProgramIo::kCannotOpen || run.profileRead == ProgramIo::kNotFound) {
    errors.Refuse(0, HW_TEXT("cannot be opened"));
  } else if (run.profileRead == ProgramIo::kReadFailed) {
    errors.Refuse(0, HW_TEXT("cannot be read"));
  } else if (run.profileRead == ProgramIo::kTooLarge) {
    errors.Refuse(0, HW_TEXT("larger than 64 KB"));
  } else if (ParseProfile(profileBytes, run.profileSize, profile, errors)) {
    return true;
  }
  TextLine reason;
  reason.Append(HW_TEXT("profile refused: ")).AppendDecimal(errors.count());
  reason.Append(errors.count() == 1 ? HW_TEXT(" error") : HW_TEXT(" errors"));
  StopWith(HW_TEXT("profile refused, nothing was changed"), reason.text(), end);
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

// Everything between the records and the result line: the profile, the
// EEPROM, the command.
WorkEnd Work(const Run& run, Platform* os, const Char* unreachable, ProgramIo& io,
             ResultOutput& out, Ending& end) {
  const CommandLine& command = run.command;
  const WorkEnd refused = {kExitRefused, false};
  const WorkEnd noDevice = {kExitNoDevice, false};
  Profile profile;
  if (command.command == CommandLine::kApply && !CheckProfile(run, &profile, out, end)) {
    return refused;
  }
  if (os == NULL) {
    if (unreachable != NULL) ExplainLines(unreachable, out, end);
    Explain(HW_TEXT("the terminal cannot be reached"), out, end);
    StopWith(kNothingChanged, HW_TEXT("the terminal cannot be reached"), end);
    return noDevice;
  }
  EepromChannel channel(*os);
  if (!channel.Open()) {
    Explain(HW_TEXT("EOM1: does not open: the configuration EEPROM cannot be reached"), out, end);
    StopWith(kNothingChanged, HW_TEXT("EEPROM cannot be reached"), end);
    return noDevice;
  }
  end.counted = command.command != CommandLine::kSave;
  WorkEnd done = {kExitOk, false};
  switch (command.command) {
    case CommandLine::kReport: done.exit = RunReport(*os, channel, out, &end.counts); break;
    case CommandLine::kSave: done.exit = RunSave(*os, channel, io, command.file, out); break;
    case CommandLine::kApply:
      done.exit = RunApply(*os, channel, profile, command.dryRun, out, &end.counts);
      break;
    case CommandLine::kSync:
      done.exit = RunSync(*os, channel, command.restart, out, &end.counts, &done.restart);
      break;
    default: break;
  }
  return done;
}

// The staging run's files are those beside the program, and its command
// the apply of HWProvision.ini there, or the report when there is none.
bool Resolve(const CommandLine& given, ProgramIo& io, Run* run) {
  run->command = given;
  run->staged = given.command == CommandLine::kStage;
  run->profileRead = ProgramIo::kReadWhole;
  run->profileSize = 0;
  CommandLine& command = run->command;
  if (run->staged) {
    if (!FindStagingFiles(io, &staging)) return false;
    command.file = staging.profile;
    command.outFile = staging.result;
    command.logFile = staging.log;
    command.box = true;
  }
  if (command.command != CommandLine::kStage && command.command != CommandLine::kApply) {
    return true;
  }
  run->profileRead =
      io.ReadWholeFile(command.file, profileBytes, kMaxProfileBytes, &run->profileSize);
  if (run->staged && run->profileRead == ProgramIo::kNotFound) {
    command.command = CommandLine::kReport;
    command.file = NULL;
  } else {
    command.command = CommandLine::kApply;
  }
  return true;
}

// What the run keeps of itself: which result files it could open, and
// whether its log line is reserved.
struct Records {
  bool outOpened;
  bool terminalOpened;
  bool logKept;
};

// "FILE: cannot be created: the card is full", or "cannot be written". The
// staging run's files are beside the program: named by name alone.
void AppendUnwritable(const Char* path, bool written, UInt32 error, const Ending& end,
                      TextLine& line) {
  line.Append(end.beside ? FileNameOf(path) : path);
  line.Append(written ? HW_TEXT(": cannot be written: ") : HW_TEXT(": cannot be created: "));
  AppendFileError(error, end.where, line);
}

// A run that writes to the terminal keeps records of it: it makes the
// terminal an id of its own when its OEM layer answers none.
bool KeepsRecords(const Run& run) {
  const CommandLine& command = run.command;
  return run.staged || command.command == CommandLine::kSync ||
         (command.command == CommandLine::kApply && !command.dryRun);
}

// Opens the result files and writes the identity line to them; for the
// staging run flushes them too, since the terminal's own file is what the
// card keeps of it. Says in `why` what cannot be kept.
void OpenResultFiles(const Run& run, ProgramIo& io, ResultOutput& out, Ending& end,
                     Records* records, TextLine& why) {
  const CommandLine& command = run.command;
  records->outOpened = command.outFile == NULL || out.OpenFile(command.outFile);
  records->terminalOpened = false;
  if (!records->outOpened) {
    AppendUnwritable(command.outFile, false, io.LastError(), end, why);
  } else if (run.staged) {
    TerminalResultPath(staging, end.identity, terminalResult);
    records->terminalOpened = out.OpenFile(terminalResult);
    if (!records->terminalOpened) {
      AppendUnwritable(terminalResult, false, io.LastError(), end, why);
    }
  }
  TextLine identity;
  AppendIdentityLine(end.identity, identity);
  out.Line(identity);
  if (why.length() == 0 && run.staged && (out.FileFailed() || !out.Flush())) {
    AppendUnwritable(terminalResult, true, io.LastError(), end, why);
  }
}

// The run's records before its work. A --out file that cannot be created
// stops it (exit 2), and so does, for the staging run, a card that cannot
// keep the terminal's own result file or its log line: false then, with the
// result line set, before anything is changed. The log line is reserved
// either way, so that it says why the run stopped.
bool OpenRecords(const Run& run, Platform* os, ProgramIo& io, ResultOutput& out, RunLog& log,
                 Ending& end, Records* records) {
  const CommandLine& command = run.command;
  ReadIdentity(os, &end.identity);
  if (os != NULL) TakeOwnId(*os, KeepsRecords(run), &end.identity);
  TextLine why;
  OpenResultFiles(run, io, out, end, records, why);
  if (why.length() > 0 && run.staged) {
    Explain(why.text(), out, end);
    StopWith(kCardCannotKeep, why.text(), end);
  } else if (why.length() > 0) {
    TextLine result;
    result.Append(why.text()).Append(HW_TEXT("; nothing was done"));
    StopWith(result.text(), why.text(), end);
  }
  records->logKept = command.logFile == NULL || StartLogLine(command, os, log, out, end);
  if (why.length() == 0 && run.staged && !records->logKept) {
    StopWith(kCardCannotKeep, HW_TEXT("the log cannot be written"), end);
    return false;
  }
  return why.length() == 0;
}

// The box at the end: the files every line is in, by name when they are
// beside the program.
void ShowRunBox(const Run& run, const Records& records, const ResultOutput& out, const Ending& end,
                int exit, ProgramIo& io) {
  const Char* const files[] = {records.outOpened ? run.command.outFile : NULL,
                               records.terminalOpened ? terminalResult : NULL, NULL};
  ShowBox(end, out, files[0] != NULL ? files : files + 1, run.staged, exit, io);
}

// After the work: the log line completed, the result line, the restart, the box.
int Finish(const Run& run, Platform* os, ProgramIo& io, ResultOutput& out, RunLog& log, Ending& end,
           const Records& records, WorkEnd work) {
  const CommandLine& command = run.command;
  int exit = work.exit;
  if (command.logFile != NULL && records.logKept) {
    exit = EndLogLine(command, os, log, out, end, exit);
  } else if (command.logFile != NULL && exit == kExitOk) {
    exit = kExitFailed;
  }
  TextLine result;
  if (end.counted) {
    AppendResultLine(end.counts, exit, result);
  } else if (end.result.length() > 0) {
    result.Append(end.result.text());
    AppendExitCode(exit, result);
  }
  if (result.length() > 0) out.Result(result);
  if (work.restart) exit = RestartAfterRun(*os, command, out, log, end, exit);
  if (out.FileFailed()) {
    io.PrintLine(run.staged ? HW_TEXT("HWProvision: the result files were not written whole")
                            : HW_TEXT("HWProvision: the --out file was not written whole"));
  }
  // A run that went for a restart is one at boot, with nobody to close a box.
  if (command.box && !work.restart) ShowRunBox(run, records, out, end, exit, io);
  return exit;
}

int RunResolved(const Run& run, Platform* os, const Char* unreachable, ProgramIo& io) {
  ResultOutput out(io);
  RunLog log(io);
  Ending end;
  StartEnding(&end);
  if (run.staged) {
    end.beside = true;
    end.where = HW_TEXT("the card");
  }
  Records records;
  WorkEnd work = {kExitRefused, false};
  if (OpenRecords(run, os, io, out, log, end, &records)) {
    if (run.staged && run.command.command == CommandLine::kReport) {
      Explain(kNoProfileLine, out, end);
    }
    work = Work(run, os, unreachable, io, out, end);
  }
  return Finish(run, os, io, out, log, end, records, work);
}

}  // namespace

int RunCommand(const CommandLine& given, Platform* os, ProgramIo& io, const Char* unreachable) {
  if (given.command == CommandLine::kHelp) {
    PrintUsage(io);
    return kExitOk;
  }
  // A program started from HKLM\Init signals before anything that may wait.
  if (given.startedByInit && os != NULL) os->SignalStarted(given.sequence);
  Run run;
  if (!Resolve(given, io, &run)) {
    io.PrintLine(kNoFolder);
    io.ShowMessage(kNoFolder, kBoxCaption, true);
    return kExitRefused;
  }
  return RunResolved(run, os, unreachable, io);
}

}  // namespace hw
