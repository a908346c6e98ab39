#include "provision/Apply.h"

#include "provision/ExitCodes.h"
#include "provision/OsState.h"
#include "provision/PressWitness.h"
#include "provision/Report.h"
#include "provision/Selections.h"
#include "setup/ApplySelection.h"
#include "setup/PsConfigInstall.h"

namespace hw {

namespace {

// The cell and the OS as a press finds them or leaves them.
struct Reading {
  bool read;
  UInt8 value;
  OsState state;
};

void Read(Platform& os, EepromChannel& channel, const SelectionAction& row, Reading* reading) {
  reading->value = 0;
  reading->read = channel.ReadCell(CellOf(row.cell).address, &reading->value);
  ReadOsState(os, row.cell, &reading->state);
}

// The reading against what the row's press leaves. Appends what differs;
// true when nothing does.
bool Matches(const Reading& reading, const SelectionAction& row, TextLine& line) {
  const UInt8 address = CellOf(row.cell).address;
  Difference differences[kMaxDifferences];
  const size_t count = FindDifferences(reading.state, row.step, differences);
  const bool cellMatches = reading.read && reading.value == row.code;
  if (cellMatches && count == 0) return true;
  if (!reading.read) {
    line.Append(HW_TEXT("cell ")).AppendHexByte(address).Append(HW_TEXT(" cannot be read"));
  } else if (!cellMatches) {
    line.Append(HW_TEXT("cell ")).AppendHexByte(address).Append(HW_TEXT(" holds "));
    line.AppendHexByte(reading.value).Append(HW_TEXT(", wants ")).AppendHexByte(row.code);
  }
  if (!cellMatches && count > 0) line.Append(HW_TEXT("; "));
  AppendDifferences(differences, count, line);
  return false;
}

// What a dry run can see the press fail on without writing: a cell that
// cannot be read, a key the press writes under that does not open as the
// press opens it. Appends it; true when there is any.
bool FailureAhead(Platform& os, const Reading& reading, const SelectionAction& row,
                  TextLine& line) {
  if (!reading.read) {
    line.Append(HW_TEXT("cell ")).AppendHexByte(CellOf(row.cell).address);
    line.Append(HW_TEXT(" cannot be read"));
    return true;
  }
  const Char* keys[kMaxRegistryWrites];
  const size_t count = KeysWrittenBy(row.step, keys);
  bool failing = false;
  for (size_t i = 0; i < count; ++i) {
    RegKey key = 0;
    RegistryReadBack unopened = RegistryReadBack();
    unopened.error = os.RegOpenKeyEx(kHkeyLocalMachine, keys[i], 0, kKeyAllAccess, &key);
    if (unopened.error == kErrorSuccess) {
      os.RegCloseKey(key);
      continue;
    }
    unopened.subKey = keys[i];
    unopened.status = RegistryReadBack::kKeyUnopened;
    const Difference difference = {Difference::kKey, &unopened, NULL, NULL, kSameBytes};
    if (failing) line.Append(HW_TEXT("; "));
    AppendDifferences(&difference, 1, line);
    failing = true;
  }
  return failing;
}

// What a failed press changed all the same, after "; ": the rows keep the
// buttons' orders, so a press may write its cell, or provision, before the
// part that failed.
void AppendChanges(const Reading& before, const Reading& after, const SelectionAction& row,
                   TextLine& line) {
  StepChanges changes;
  FindStepChanges(before.state, after.state, row.step, &changes);
  const bool cellWritten =
      after.read && after.value == row.code && (!before.read || before.value != row.code);
  if (cellWritten) {
    line.Append(HW_TEXT("; the cell was written (")).AppendHexByte(row.code).Append(HW_TEXT(")"));
  }
  if (changes.valuesSet > 0 && changes.valuesHeld == changes.valueCount) {
    line.Append(HW_TEXT("; the driver values were set for ")).Append(row.caption);
  } else if (changes.valuesSet > 0) {
    line.Append(HW_TEXT("; ")).AppendDecimal(static_cast<UInt32>(changes.valuesSet));
    line.Append(HW_TEXT(" of the ")).AppendDecimal(static_cast<UInt32>(changes.valueCount));
    line.Append(HW_TEXT(" driver values were set for ")).Append(row.caption);
  }
  if (changes.fileInstalled) {
    line.Append(HW_TEXT("; ")).Append(kPsConfigDestination).Append(HW_TEXT(" was installed"));
  }
  if (!cellWritten && changes.valuesSet == 0 && !changes.fileInstalled) {
    line.Append(HW_TEXT("; nothing was changed"));
  }
}

// Runs the press and reads everything back; appends "applied" or the failure.
ItemOutcome Press(Platform& os, EepromChannel& channel, const SelectionAction& row,
                  const Reading& before, TextLine& line, bool* madePermanent) {
  PressWitness witness;
  const long flushed = ApplySelection(os, channel, row, witness, witness);
  Reading after;
  Read(os, channel, row, &after);
  TextLine differs;
  const bool matches = Matches(after, row, differs);
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
    line.Append(differs.text());
    AppendChanges(before, after, row, line);
  }
  *madePermanent = AppendFlushResult(row.step, flushed, line);
  return outcome;
}

}  // namespace

ItemOutcome ApplyItem(Platform& os, EepromChannel& channel, const SelectionAction& row, bool dryRun,
                      TextLine& line, bool* madePermanent) {
  *madePermanent = true;
  line.Append(ModuleName(row.cell)).PadTo(kNameColumn);
  line.Append(row.caption).Append(HW_TEXT(" (")).AppendHexByte(row.code).Append(HW_TEXT(")"));
  line.PadTo(kNameColumn + 24);
  Reading before;
  Read(os, channel, row, &before);
  TextLine differs;
  if (Matches(before, row, differs)) {
    line.Append(HW_TEXT("unchanged"));
    return kItemUnchanged;
  }
  if (!dryRun) return Press(os, channel, row, before, line, madePermanent);
  TextLine failure;
  if (FailureAhead(os, before, row, failure)) {
    line.Append(HW_TEXT("would fail: ")).Append(failure.text());
    return kItemWouldFail;
  }
  line.Append(HW_TEXT("would apply: ")).Append(differs.text());
  return kItemWouldApply;
}

int RunApply(Platform& os, EepromChannel& channel, const Profile& profile, bool dryRun,
             ResultOutput& out, ResultCounts* counts) {
  StartCounts(dryRun ? ResultCounts::kDryRun : ResultCounts::kApply, counts);
  const ResultCounts::Count byOutcome[] = {ResultCounts::kUnchanged, ResultCounts::kApplied,
                                           ResultCounts::kWouldApply, ResultCounts::kFailed,
                                           ResultCounts::kFailed};
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
