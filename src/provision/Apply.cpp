#include "provision/Apply.h"

#include "eeprom/Label.h"
#include "provision/ExitCodes.h"
#include "provision/OsState.h"
#include "provision/Report.h"
#include "provision/Selections.h"
#include "setup/ApplySelection.h"
#include "setup/MessageBoxOwner.h"

namespace hw {

namespace {

// The page a press runs on, without a window: the label's text is not
// needed (the cell is read back instead), and a message box the dialog
// would show becomes the item's failure reason.
class PressWitness : public Label, public MessageBoxOwner {
 public:
  PressWitness() { message_[0] = 0; }
  void SetText(const Char*) HW_OVERRIDE {}
  void ShowMessage(const Char* text, const Char*) HW_OVERRIDE {
    if (message_[0] != 0) return;  // the first box is the reason
    size_t i = 0;
    for (; text[i] != 0 && i + 1 < HW_COUNT_OF(message_); ++i) message_[i] = text[i];
    message_[i] = 0;
  }
  const Char* message() const { return message_[0] != 0 ? message_ : NULL; }

 private:
  Char message_[64];
};

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
                      TextLine& line) {
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
  ApplySelection(os, channel, row, witness, witness);
  TextLine after;
  const bool matches = Matches(os, channel, row, after);
  if (matches && witness.message() == NULL) {
    line.Append(HW_TEXT("applied"));
    return kItemApplied;
  }
  line.Append(HW_TEXT("FAILED: "));
  if (witness.message() != NULL) {
    line.Append(HW_TEXT("the press showed ")).AppendQuoted(witness.message());
    if (!matches) line.Append(HW_TEXT("; "));
  }
  line.Append(after.text());
  return kItemFailed;
}

int RunApply(Platform& os, EepromChannel& channel, const Profile& profile, bool dryRun,
             ResultOutput& out) {
  UInt32 counts[4] = {0, 0, 0, 0};  // by ItemOutcome
  for (size_t i = 0; i < kModuleCellCount; ++i) {
    const SelectionAction* row = profile.selections[kModuleCells[i].module];
    if (row == NULL) continue;
    TextLine line;
    ++counts[ApplyItem(os, channel, *row, dryRun, line)];
    out.Line(line);
  }
  const int exit = counts[kItemFailed] > 0 ? kExitFailed : kExitOk;
  TextLine result;
  result.Append(HW_TEXT("result: "));
  if (dryRun) {
    result.AppendDecimal(counts[kItemWouldApply]).Append(HW_TEXT(" would apply, "));
  } else {
    result.AppendDecimal(counts[kItemApplied]).Append(HW_TEXT(" applied, "));
  }
  result.AppendDecimal(counts[kItemUnchanged]).Append(HW_TEXT(" unchanged"));
  if (!dryRun)
    result.Append(HW_TEXT(", ")).AppendDecimal(counts[kItemFailed]).Append(HW_TEXT(" FAILED"));
  if (dryRun) result.Append(HW_TEXT(" (dry run: nothing was changed)"));
  result.Append(HW_TEXT(" (exit ")).AppendDecimal(exit).Append(HW_TEXT(")"));
  out.Line(result);
  return exit;
}

}  // namespace hw
