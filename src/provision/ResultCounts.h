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
  Kind kind;
  UInt32 count[kCountKinds];
  Problem problems[kModuleCellCount];
  UInt32 problemCount;
};

void StartCounts(ResultCounts::Kind kind, ResultCounts* counts);
// Counts one module's outcome; a FAILED, INCONSISTENT or unreadable one is
// noted as a problem of that module too.
void CountModule(ResultCounts::Count count, Module module, ResultCounts* counts);
// "3G: FAILED; WiFi: INCONSISTENT", in the order they were counted; nothing
// when there is no problem.
void AppendProblems(const ResultCounts& counts, TextLine& line);
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
