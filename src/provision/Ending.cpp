#include "provision/Ending.h"

#include "provision/ExitCodes.h"

namespace hw {

const Char kBoxCaption[] = HW_TEXT("HWProvision");

namespace {

const Char* CommandName(const CommandLine& command) {
  switch (command.command) {
    case CommandLine::kApply: return command.dryRun ? HW_TEXT("apply --dry-run") : HW_TEXT("apply");
    case CommandLine::kSync: return command.restart ? HW_TEXT("sync --restart") : HW_TEXT("sync");
    case CommandLine::kSave: return HW_TEXT("save");
    default: return HW_TEXT("report");
  }
}

}  // namespace

void StartEnding(Ending* end) {
  end->timeKnown = false;
  end->counted = false;
  end->reason[0] = 0;
  end->beside = false;
  end->where = HW_TEXT("its volume");
}

void StopWith(const Char* result, const Char* reason, Ending& end) {
  end.result.Clear().Append(HW_TEXT("result: ")).Append(result);
  size_t i = 0;
  for (; reason[i] != 0 && i + 1 < HW_COUNT_OF(end.reason); ++i) end.reason[i] = reason[i];
  end.reason[i] = 0;
}

void AppendFileError(UInt32 error, const Char* where, TextLine& line) {
  const UInt32 kPathNotFound = 3, kWriteProtect = 19, kNotReady = 21, kHandleDiskFull = 39;
  const UInt32 kDiskFull = 112;
  if (error == kDiskFull || error == kHandleDiskFull) {
    line.Append(where).Append(HW_TEXT(" is full"));
  } else if (error == kWriteProtect || error == static_cast<UInt32>(kErrorAccessDenied)) {
    line.Append(where).Append(HW_TEXT(" is read-only"));
  } else if (error == kPathNotFound || error == kNotReady) {
    line.Append(where).Append(HW_TEXT("'s folder is missing"));
  } else {
    line.Append(HW_TEXT("error ")).AppendDecimal(error);
  }
}

void Explain(const Char* text, ResultOutput& out, Ending& end) {
  out.Line(text);
  end.notes.Append(text).Append(HW_TEXT("\n"));
}

LogEntry EntryOf(const CommandLine& command, const Ending& end, bool started, int exit) {
  const LogEntry entry = {end.timeKnown ? &end.time : NULL,
                          &end.identity,
                          CommandName(command),
                          command.command == CommandLine::kApply ? command.file : NULL,
                          end.counted ? &end.counts : NULL,
                          end.reason[0] != 0 ? end.reason : NULL,
                          started,
                          exit};
  return entry;
}

void ExplainLogFailure(const Char* path, const RunLog& log, LogResult logged, ResultOutput& out,
                       Ending& end) {
  TextLine line;
  line.Append(end.beside ? FileNameOf(path) : path);
  line.Append(logged == kLogNotOpened ? HW_TEXT(": the log cannot be opened")
                                      : HW_TEXT(": the log cannot be written"));
  if (log.error() != 0) {
    line.Append(HW_TEXT(" ("));
    AppendFileError(log.error(), end.where, line);
    line.Append(HW_TEXT(")"));
  }
  line.Append(logged == kLogNotOpened ? HW_TEXT("; this run is not in it")
                                      : HW_TEXT("; this run's line is missing or cut"));
  Explain(line.text(), out, end);
}

bool StartLogLine(const CommandLine& command, Platform* os, RunLog& log, ResultOutput& out,
                  Ending& end) {
  end.timeKnown = os != NULL;
  if (os != NULL) os->GetLocalTime(&end.time);
  const LogResult logged = log.Reserve(command.logFile, EntryOf(command, end, true, kExitOk));
  if (logged == kLogged) return true;
  ExplainLogFailure(command.logFile, log, logged, out, end);
  return false;
}

int EndLogLine(const CommandLine& command, Platform* os, RunLog& log, ResultOutput& out,
               Ending& end, int exit) {
  if (os != NULL) os->GetLocalTime(&end.time);
  const LogResult logged = log.Replace(EntryOf(command, end, false, exit));
  if (logged == kLogged) return exit;
  ExplainLogFailure(command.logFile, log, logged, out, end);
  return exit == kExitOk ? kExitFailed : exit;
}

void ShowBox(const Ending& end, const ResultOutput& out, const Char* const* files, bool beside,
             int exit, ProgramIo& io) {
  TextLine text;
  AppendIdentityLine(end.identity, text);
  text.Append(HW_TEXT("\n")).Append(end.notes.text()).Append(out.result());
  if (end.counted && end.counts.problemCount > 0) {
    text.Append(HW_TEXT("\n"));
    AppendProblems(end.counts, text);
  }
  for (size_t i = 0; files != NULL && files[i] != NULL; ++i) {
    if (i == 0) {
      text.Append(out.FileFailed() ? HW_TEXT("\n\nNot every line could be written to ")
                                   : HW_TEXT("\n\nEvery line is in "));
    } else {
      text.Append(HW_TEXT(" and "));
    }
    text.Append(beside ? FileNameOf(files[i]) : files[i]);
  }
  if (beside && files[0] != NULL) text.Append(HW_TEXT(", beside the program"));
  io.ShowMessage(text.text(), kBoxCaption, exit != kExitOk);
}

}  // namespace hw
