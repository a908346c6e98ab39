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
}

void Explain(const Char* text, ResultOutput& out, Ending& end) {
  out.Line(text);
  end.notes.Append(text).Append(HW_TEXT("\n"));
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

int LogRun(const CommandLine& command, Platform* os, RunLog& log, ResultOutput& out, Ending& end,
           int exit) {
  end.timeKnown = os != NULL;
  if (os != NULL) os->GetLocalTime(&end.time);
  const LogResult logged = log.Add(command.logFile, EntryOf(command, end, exit));
  if (logged == kLogged) return exit;
  ExplainLogFailure(command.logFile, logged, out, end);
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
