#include "provision/Apply.h"

#include "provision/ExitCodes.h"
#include "provision/OsState.h"
#include "provision/PressWitness.h"
#include "provision/Report.h"
#include "provision/Selections.h"
#include "setup/ApplySelection.h"

namespace hw {

namespace {

// The cell and the OS against what the row's press leaves. Appends what
// differs; true when nothing does.
bool Matches(Platform& os, EepromChannel& channel, const SelectionAction& row, TextLine& line) {
  const UInt8 address = CellOf(row.cell).address;
  UInt8 value = 0;
  const bool read = channel.ReadCell(address, &value);
  OsState state;
  ReadOsState(os, row.cell, &state);
  Difference differences[kMaxDifferences];
  const size_t count = FindDifferences(state, row.step, differences);
  const bool cellMatches = read && value == row.code;
  if (cellMatches && count == 0) return true;
  if (!read) {
    line.Append(HW_TEXT("cell ")).AppendHexByte(address).Append(HW_TEXT(" cannot be read"));
  } else if (!cellMatches) {
    line.Append(HW_TEXT("cell ")).AppendHexByte(address).Append(HW_TEXT(" holds "));
    line.AppendHexByte(value).Append(HW_TEXT(", wants ")).AppendHexByte(row.code);
  }
  if (!cellMatches && count > 0) line.Append(HW_TEXT("; "));
  AppendDifferences(differences, count, line);
  return false;
}

}  // namespace

ItemOutcome ApplyItem(Platform& os, EepromChannel& channel, const SelectionAction& row, bool dryRun,
                      TextLine& line, bool* madePermanent) {
  *madePermanent = true;
  line.Append(ModuleName(row.cell)).PadTo(kNameColumn);
  line.Append(row.caption).Append(HW_TEXT(" (")).AppendHexByte(row.code).Append(HW_TEXT(")"));
  line.PadTo(kNameColumn + 24);
  TextLine before;
  if (Matches(os, channel, row, before)) {
    line.Append(HW_TEXT("unchanged"));
    return kItemUnchanged;
  }
  if (dryRun) {
    line.Append(HW_TEXT("would apply: ")).Append(before.text());
    return kItemWouldApply;
  }
  PressWitness witness;
  const long flushed = ApplySelection(os, channel, row, witness, witness);
  TextLine after;
  const bool matches = Matches(os, channel, row, after);
  ItemOutcome outcome = kItemApplied;
  if (matches && witness.message() == NULL) {
    line.Append(HW_TEXT("applied"));
  } else {
    outcome = kItemFailed;
    line.Append(HW_TEXT("FAILED: "));
    if (witness.message() != NULL) {
      line.Append(HW_TEXT("the press showed ")).AppendQuoted(witness.message());
      if (!matches) line.Append(HW_TEXT("; "));
    }
    line.Append(after.text());
  }
  *madePermanent = AppendFlushResult(row.step, flushed, line);
  return outcome;
}

int RunApply(Platform& os, EepromChannel& channel, const Profile& profile, bool dryRun,
             ResultOutput& out, ResultCounts* counts) {
  StartCounts(dryRun ? ResultCounts::kDryRun : ResultCounts::kApply, counts);
  const ResultCounts::Count byOutcome[] = {ResultCounts::kUnchanged, ResultCounts::kApplied,
                                           ResultCounts::kWouldApply, ResultCounts::kFailed};
  for (size_t i = 0; i < kModuleCellCount; ++i) {
    const SelectionAction* row = profile.selections[kModuleCells[i].module];
    if (row == NULL) continue;
    TextLine line;
    bool madePermanent = true;
    CountModule(byOutcome[ApplyItem(os, channel, *row, dryRun, line, &madePermanent)], row->cell,
                counts);
    counts->count[ResultCounts::kNotPermanent] += madePermanent ? 0 : 1;
    out.Line(line);
  }
  return counts->count[ResultCounts::kFailed] > 0 ? kExitFailed : kExitOk;
}

}  // namespace hw
