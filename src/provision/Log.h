#pragma once

#include "provision/Identity.h"
#include "provision/ProgramIo.h"
#include "provision/ResultCounts.h"

namespace hw {

// One run as a line of a staging log: a CSV file (RFC 4180, UTF-8, CRLF)
// that runs on many terminals add to and nothing rewrites but the run's own
// line, which says "started" until the run completes it.
struct LogEntry {
  const SystemTime* time;  // the terminal's local time; null: unknown
  const TerminalIdentity* identity;
  const Char* command;         // "report", "apply", "apply --dry-run", "sync", "sync --restart"
  const Char* profile;         // apply: the profile's path, of which the log keeps the name
  const ResultCounts* counts;  // null: the run ended before it counted anything
  const Char* reason;          // why such a run ended; null: none
  bool started;                // the line a run reserves: no exit yet
  int exit;
};

// "2026-03-09 07:05:03", which spreadsheets read as a date and time.
void AppendDateTime(const SystemTime& time, TextLine& line);

// The columns after `exit`, in the order they were added to the log. A log
// made before one was added keeps its header, and its lines go without it.
enum TrailingColumns { kNoTrailingColumns, kProblemsColumn, kDriversColumn };

// "local time,id,name,command,profile,applied,...,exit,problems,drivers".
void AppendLogHeader(TextLine& line);
// With the columns after `exit` up to `last`, as the log's header has them.
void AppendLogLine(const LogEntry& entry, TrailingColumns last, TextLine& line);

enum LogResult { kLogged, kLogNotOpened, kLogNotWritten };

// A run's line in a staging log, made when absent, after the header line
// when the log holds nothing yet. The log stays open until the run ends, so
// that the line can be put on its volume before a restart, and take the
// run's real exit code should the restart not happen.
class RunLog {
 public:
  explicit RunLog(ProgramIo& io)
      : io_(io),
        file_(ProgramIo::kNoFile),
        added_(kLogNotOpened),
        lineStart_(0),
        lineBytes_(0),
        columns_(kDriversColumn),
        error_(0) {}
  ~RunLog();

  // The run's line, saying "started", made when the run starts and put on
  // the log's volume, so that a run that dies half-way is in the log as
  // what it is. Padded with blanks after its last field, so that the line
  // that completes it needs no more room on a card that may be full.
  LogResult Reserve(const Char* path, const LogEntry& entry);
  // True when the line is on the log's volume.
  bool Flush();
  // Writes the entry over the run's line, the last of the log, in place,
  // and puts it on the log's volume.
  LogResult Replace(const LogEntry& entry);
  // The error of the file call that failed the log, when one did.
  UInt32 error() const { return error_; }

 private:
  RunLog(const RunLog&);
  RunLog& operator=(const RunLog&);

  ProgramIo& io_;
  ProgramIo::File file_;
  LogResult added_;
  UInt32 lineStart_;
  UInt32 lineBytes_;
  TrailingColumns columns_;  // the last column the log's header names after `exit`
  UInt32 error_;
};

}  // namespace hw
