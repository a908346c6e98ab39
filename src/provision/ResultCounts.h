#pragma once

#include "provision/Text.h"

namespace hw {

// What a report, an apply or a sync counted. Its result line and its log
// line are both made from these, so the two cannot disagree.
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
  Kind kind;
  UInt32 count[kCountKinds];
};

void StartCounts(ResultCounts::Kind kind, ResultCounts* counts);
// Whether the kind's result line speaks of `count`; the log leaves the
// others' columns empty.
bool Stated(ResultCounts::Kind kind, ResultCounts::Count count);
// The column of `count` in the log, as its header line names it.
const Char* CountName(ResultCounts::Count count);
// "result: ... (exit E)".
void AppendResultLine(const ResultCounts& counts, int exit, TextLine& line);

}  // namespace hw
