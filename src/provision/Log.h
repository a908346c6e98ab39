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

// "local time,id,name,command,profile,applied,...,exit".
void AppendLogHeader(TextLine& line);
void AppendLogLine(const LogEntry& entry, TextLine& line);

enum LogResult { kLogged, kLogNotOpened, kLogNotWritten };
// Adds the entry's line to the log at `path`, made when absent, after the
// header line when the log holds nothing yet.
LogResult AppendToLog(ProgramIo& io, const Char* path, const LogEntry& entry);

}  // namespace hw
