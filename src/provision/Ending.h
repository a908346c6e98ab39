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
  SystemTime time;  // when the run started, then when it ended: for its log line
  bool counted;     // the result line is made from `counts`
  ResultCounts counts;
  // Else the result line without its exit code, which the run's end adds,
  // or empty when the command wrote its own.
  TextLine result;
  TextLine notes;   // lines that say why, each ending in a line break: for the box
  Char reason[80];  // why a run that stopped before it counted stopped: for its log line
  // The staging run's files are beside the program, on a card: named by
  // name, and the card is where a reason says they are.
  bool beside;
  const Char* where;  // "the card", else "its volume"
};

void StartEnding(Ending* end);
// A line that says why the run ended as it did: printed, and kept for the box.
void Explain(const Char* text, ResultOutput& out, Ending& end);
// The run stops here: its result line says so, its log line gives `reason`.
void StopWith(const Char* result, const Char* reason, Ending& end);

// Why a file cannot be created or written, from the error its call gave:
// "the card is full", "the card is read-only", "the card's folder is
// missing", or the error's number; `where` is "the card" or "its volume".
void AppendFileError(UInt32 error, const Char* where, TextLine& line);

// The run's line in the log with this exit code; `started` while it runs.
LogEntry EntryOf(const CommandLine& command, const Ending& end, bool started, int exit);
void ExplainLogFailure(const Char* path, const RunLog& log, LogResult logged, ResultOutput& out,
                       Ending& end);
// Reserves the run's line in the log, saying "started"; false when the log
// cannot take it, which the run then says.
bool StartLogLine(const CommandLine& command, Platform* os, RunLog& log, ResultOutput& out,
                  Ending& end);
// Completes the line. A log that cannot take it fails a run that would
// have succeeded; the work itself stands.
int EndLogLine(const CommandLine& command, Platform* os, RunLog& log, ResultOutput& out,
               Ending& end, int exit);

// The box: the identity, why the run ended so, the result line, the modules
// that FAILED, are INCONSISTENT or unreadable, and the files every line is in
// (null-terminated; by name alone when they are beside the program, which
// keeps the box short on the terminal's small screen).
void ShowBox(const Ending& end, const ResultOutput& out, const Char* const* files, bool beside,
             int exit, ProgramIo& io);

}  // namespace hw
