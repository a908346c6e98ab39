#include "provision/ResultCounts.h"

#include "provision/PressWitness.h"
#include "provision/Selections.h"

namespace hw {

namespace {

UInt32 Bit(ResultCounts::Count count) {
  return 1u << count;
}

// By Kind: the counts its result line states.
const UInt32 kStated[] = {
    Bit(ResultCounts::kInconsistent) | Bit(ResultCounts::kUnreadable),
    Bit(ResultCounts::kApplied) | Bit(ResultCounts::kUnchanged) | Bit(ResultCounts::kFailed) |
        Bit(ResultCounts::kNotPermanent),
    Bit(ResultCounts::kWouldApply) | Bit(ResultCounts::kUnchanged),
    Bit(ResultCounts::kRestored) | Bit(ResultCounts::kConsistent) | Bit(ResultCounts::kFailed) |
        Bit(ResultCounts::kUnreadable) | Bit(ResultCounts::kNotPermanent),
};
const UInt32 kProblems =
    Bit(ResultCounts::kFailed) | Bit(ResultCounts::kInconsistent) | Bit(ResultCounts::kUnreadable);

const Char* const kCountNames[] = {
    HW_TEXT("applied"),    HW_TEXT("would apply"), HW_TEXT("unchanged"),
    HW_TEXT("restored"),   HW_TEXT("consistent"),  HW_TEXT("inconsistent"),
    HW_TEXT("unreadable"), HW_TEXT("failed"),      HW_TEXT("not permanent"),
};
HW_STATIC_ASSERT(HW_COUNT_OF(kCountNames) == ResultCounts::kCountKinds, a_name_per_count);

// ", N unreadable" when a cell could not be read.
void AppendUnreadable(const ResultCounts& counts, TextLine& line) {
  if (counts.count[ResultCounts::kUnreadable] == 0) return;
  line.Append(HW_TEXT(", ")).AppendDecimal(counts.count[ResultCounts::kUnreadable]);
  line.Append(HW_TEXT(" unreadable"));
}

void AppendReportCounts(const ResultCounts& counts, TextLine& line) {
  const UInt32 inconsistent = counts.count[ResultCounts::kInconsistent];
  const UInt32 unreadable = counts.count[ResultCounts::kUnreadable];
  if (inconsistent == 0 && unreadable == 0) {
    line.Append(HW_TEXT("consistent"));
    return;
  }
  line.AppendDecimal(inconsistent).Append(HW_TEXT(" INCONSISTENT"));
  AppendUnreadable(counts, line);
}

// "N first, M second, F FAILED", the cells that could not be read and the
// registry groups not made permanent.
void AppendChangeCounts(const ResultCounts& counts, ResultCounts::Count first,
                        ResultCounts::Count second, TextLine& line) {
  line.AppendDecimal(counts.count[first]).Append(HW_TEXT(" ")).Append(kCountNames[first]);
  line.Append(HW_TEXT(", ")).AppendDecimal(counts.count[second]).Append(HW_TEXT(" "));
  line.Append(kCountNames[second]);
  line.Append(HW_TEXT(", ")).AppendDecimal(counts.count[ResultCounts::kFailed]);
  line.Append(HW_TEXT(" FAILED"));
  AppendUnreadable(counts, line);
  AppendNotPermanentCount(counts.count[ResultCounts::kNotPermanent], line);
}

// ", 1 restart pending, 1 driver not loaded": what the list of drivers
// found, information beside the counts the exit code rests on.
void AppendDriverCounts(const ResultCounts& counts, TextLine& line) {
  if (counts.restartPending > 0) {
    line.Append(HW_TEXT(", ")).AppendDecimal(counts.restartPending);
    line.Append(HW_TEXT(" restart pending"));
  }
  if (counts.driversNotLoaded > 0) {
    line.Append(HW_TEXT(", ")).AppendDecimal(counts.driversNotLoaded);
    line.Append(counts.driversNotLoaded == 1 ? HW_TEXT(" driver not loaded")
                                             : HW_TEXT(" drivers not loaded"));
  }
}

}  // namespace

void StartCounts(ResultCounts::Kind kind, ResultCounts* counts) {
  counts->kind = kind;
  for (size_t i = 0; i < ResultCounts::kCountKinds; ++i) counts->count[i] = 0;
  counts->problemCount = 0;
  counts->driverCount = 0;
  counts->restartPending = 0;
  counts->driversNotLoaded = 0;
}

void NoteDriver(Module module, const Char* verdict, bool restartPending, bool notLoaded,
                ResultCounts* counts) {
  counts->restartPending += restartPending ? 1 : 0;
  counts->driversNotLoaded += notLoaded ? 1 : 0;
  if (verdict == NULL || counts->driverCount == ResultCounts::kMaxDriverNotes) return;
  const ResultCounts::DriverNote note = {module, verdict};
  counts->drivers[counts->driverCount++] = note;
}

void AppendDriverNotes(const ResultCounts& counts, TextLine& line) {
  for (UInt32 i = 0; i < counts.driverCount; ++i) {
    if (i > 0) line.Append(HW_TEXT("; "));
    line.Append(ModuleName(counts.drivers[i].module)).Append(HW_TEXT(": "));
    line.Append(counts.drivers[i].verdict);
  }
}

void CountModule(ResultCounts::Count count, Module module, ResultCounts* counts) {
  ++counts->count[count];
  if ((kProblems & Bit(count)) == 0 || counts->problemCount == kModuleCellCount) return;
  const ResultCounts::Problem problem = {module, count};
  counts->problems[counts->problemCount++] = problem;
}

void AppendProblems(const ResultCounts& counts, TextLine& line) {
  for (UInt32 i = 0; i < counts.problemCount; ++i) {
    const ResultCounts::Problem& problem = counts.problems[i];
    if (i > 0) line.Append(HW_TEXT("; "));
    line.Append(ModuleName(problem.module)).Append(HW_TEXT(": "));
    line.Append(problem.count == ResultCounts::kUnreadable ? HW_TEXT("unreadable")
                : problem.count == ResultCounts::kFailed   ? HW_TEXT("FAILED")
                                                           : HW_TEXT("INCONSISTENT"));
  }
}

bool Stated(ResultCounts::Kind kind, ResultCounts::Count count) {
  return (kStated[kind] & Bit(count)) != 0;
}

const Char* CountName(ResultCounts::Count count) {
  return kCountNames[count];
}

void AppendResultLine(const ResultCounts& counts, int exit, TextLine& line) {
  line.Append(HW_TEXT("result: "));
  switch (counts.kind) {
    case ResultCounts::kReport: AppendReportCounts(counts, line); break;
    case ResultCounts::kApply:
      AppendChangeCounts(counts, ResultCounts::kApplied, ResultCounts::kUnchanged, line);
      break;
    case ResultCounts::kDryRun:
      line.AppendDecimal(counts.count[ResultCounts::kWouldApply]).Append(HW_TEXT(" would apply, "));
      line.AppendDecimal(counts.count[ResultCounts::kUnchanged]).Append(HW_TEXT(" unchanged"));
      if (counts.count[ResultCounts::kFailed] > 0) {
        line.Append(HW_TEXT(", ")).AppendDecimal(counts.count[ResultCounts::kFailed]);
        line.Append(HW_TEXT(" would fail"));
      }
      line.Append(HW_TEXT(" (dry run: nothing was changed)"));
      break;
    case ResultCounts::kSync:
      AppendChangeCounts(counts, ResultCounts::kRestored, ResultCounts::kConsistent, line);
      break;
  }
  AppendDriverCounts(counts, line);
  AppendExitCode(exit, line);
}

void AppendExitCode(int exit, TextLine& line) {
  line.Append(HW_TEXT(" (exit ")).AppendDecimal(static_cast<UInt32>(exit)).Append(HW_TEXT(")"));
}

}  // namespace hw
