#pragma once

#include "provision/Identity.h"
#include "provision/ProgramIo.h"
#include "provision/ResultCounts.h"

namespace hw {

// One run as a line of a staging log: a CSV file (RFC 4180, UTF-8, CRLF)
// that runs on many terminals add to and nothing rewrites.
struct LogEntry {
  const SystemTime* time;  // the terminal's local time; null: unknown
  const TerminalIdentity* identity;
  const Char* command;         // "report", "apply", "apply --dry-run", "sync", "sync --restart"
  const Char* profile;         // apply: the profile's path, of which the log keeps the name
  const ResultCounts* counts;  // null: the run ended before it counted anything
  int exit;
};

// "2026-03-09 07:05:03", which spreadsheets read as a date and time.
void AppendDateTime(const SystemTime& time, TextLine& line);

// "local time,id,name,command,profile,applied,...,exit,problems".
void AppendLogHeader(TextLine& line);
// Without `problems` for a log whose header lacks that column: logs made
// before it are never rewritten.
void AppendLogLine(const LogEntry& entry, bool problems, TextLine& line);

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
        problems_(true) {}
  ~RunLog();

  LogResult Add(const Char* path, const LogEntry& entry);
  // True when the line is on the log's volume.
  bool Flush();
  // Writes the entry over the run's line, the last of the log, in place,
  // and puts it on the log's volume.
  LogResult Replace(const LogEntry& entry);

 private:
  RunLog(const RunLog&);
  RunLog& operator=(const RunLog&);

  ProgramIo& io_;
  ProgramIo::File file_;
  LogResult added_;
  UInt32 lineStart_;
  UInt32 lineBytes_;
  bool problems_;  // the log has the problems column
};

}  // namespace hw
