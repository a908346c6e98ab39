#pragma once

#include "platform/Platform.h"
#include "provision/CommandLine.h"
#include "provision/Identity.h"
#include "provision/Log.h"
#include "provision/ResultCounts.h"
#include "provision/ResultOutput.h"

namespace hw {

extern const Char kBoxCaption[];  // "HWProvision"

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

void StartEnding(Ending* end);
// A line that says why the run ended as it did: printed, and kept for the box.
void Explain(const Char* text, ResultOutput& out, Ending& end);

// The run's line in the log with this exit code.
LogEntry EntryOf(const CommandLine& command, const Ending& end, int exit);
void ExplainLogFailure(const Char* path, LogResult logged, ResultOutput& out, Ending& end);
// Adds the run's line to the log. A log that cannot take it fails a run
// that would have succeeded; the work itself stands.
int LogRun(const CommandLine& command, Platform* os, RunLog& log, ResultOutput& out, Ending& end,
           int exit);

// The box: the identity, why the run ended so, the result line, the modules
// that FAILED, are INCONSISTENT or unreadable, and the files every line is in
// (null-terminated; by name alone when they are beside the program, which
// keeps the box short on the terminal's small screen).
void ShowBox(const Ending& end, const ResultOutput& out, const Char* const* files, bool beside,
             int exit, ProgramIo& io);

}  // namespace hw
