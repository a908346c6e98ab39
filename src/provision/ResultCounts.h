#pragma once

#include "eeprom/ModuleCells.h"
#include "provision/Text.h"

namespace hw {

// What a report, an apply or a sync counted, and which modules it found
// FAILED, INCONSISTENT or unreadable. Its result line, its box and its log
// line are all made from these, so they cannot disagree.
struct ResultCounts {
  enum Kind { kReport, kApply, kDryRun, kSync };
  enum Count {
    kApplied,
    kWouldApply,
    kUnchanged,
    kRestored,
    kConsistent,
    kInconsistent,
    kUnreadable,
    kFailed,
    kNotPermanent,
    kCountKinds
  };
  struct Problem {
    Module module;
    Count count;  // kFailed, kInconsistent or kUnreadable
  };
  // What runs of a module's driver, beside what the OS is set to load: a
  // verdict of Device Manager's list, which the exit codes leave alone.
  struct DriverNote {
    Module module;
    const Char* verdict;  // "matches", "restart pending", "not loaded", "unknown"
  };
  enum { kMaxDriverNotes = 2 };  // 3G and WiFi
  Kind kind;
  UInt32 count[kCountKinds];
  Problem problems[kModuleCellCount];
  UInt32 problemCount;
  DriverNote drivers[kMaxDriverNotes];
  UInt32 driverCount;
  UInt32 restartPending;
  UInt32 driversNotLoaded;
};

void StartCounts(ResultCounts::Kind kind, ResultCounts* counts);
// Counts one module's outcome; a FAILED, INCONSISTENT or unreadable one is
// noted as a problem of that module too.
void CountModule(ResultCounts::Count count, Module module, ResultCounts* counts);
// "3G: FAILED; WiFi: INCONSISTENT", in the order they were counted; nothing
// when there is no problem.
void AppendProblems(const ResultCounts& counts, TextLine& line);
// Notes what runs of a module's driver; `verdict` null: nothing to note.
void NoteDriver(Module module, const Char* verdict, bool restartPending, bool notLoaded,
                ResultCounts* counts);
// "3G: matches; WiFi: restart pending": the log's last column.
void AppendDriverNotes(const ResultCounts& counts, TextLine& line);
// Whether the kind's result line speaks of `count`; the log leaves the
// others' columns empty.
bool Stated(ResultCounts::Kind kind, ResultCounts::Count count);
// The column of `count` in the log, as its header line names it.
const Char* CountName(ResultCounts::Count count);
// "result: ... (exit E)".
void AppendResultLine(const ResultCounts& counts, int exit, TextLine& line);
// " (exit E)": how every result line ends, from the code the run returns.
void AppendExitCode(int exit, TextLine& line);

}  // namespace hw
