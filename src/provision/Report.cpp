#include "provision/Report.h"

#include "eeprom/RefreshCell.h"
#include "provision/ExitCodes.h"
#include "provision/RunningDriver.h"
#include "provision/Selections.h"

namespace hw {

namespace {

ModuleAudit::Verdict VerdictOf(const ModuleAudit& audit) {
  if (!ProvisionsTheOs(audit.module)) return ModuleAudit::kNoVerdict;
  if (!audit.cellRead) return ModuleAudit::kCellUnreadable;
  const SelectionAction* row = SelectionWriting(audit.module, audit.value);
  if (row == NULL) return ModuleAudit::kUnknownValue;
  if (row->step == kNone) return ModuleAudit::kNotManaged;
  return audit.differenceCount == 0 ? ModuleAudit::kConsistent : ModuleAudit::kInconsistent;
}

void AppendVerdict(const ModuleAudit& audit, TextLine& line) {
  switch (audit.verdict) {
    case ModuleAudit::kNoVerdict: break;
    case ModuleAudit::kConsistent: line.Append(HW_TEXT("consistent")); break;
    case ModuleAudit::kInconsistent:
      line.Append(HW_TEXT("INCONSISTENT: "));
      AppendDifferences(audit.differences, audit.differenceCount, line);
      break;
    case ModuleAudit::kNotManaged: line.Append(HW_TEXT("not managed")); break;
    case ModuleAudit::kUnknownValue:
      line.Append(HW_TEXT("unknown: no button writes ")).AppendHexByte(audit.value);
      break;
    case ModuleAudit::kCellUnreadable:
      line.Append(HW_TEXT("unknown: the cell cannot be read"));
      break;
  }
}

}  // namespace

void AuditModule(Platform& os, EepromChannel& channel, Module module, ModuleAudit* audit) {
  audit->module = module;
  audit->value = 0;
  audit->cellRead = channel.ReadCell(CellOf(module).address, &audit->value);
  ReadOsState(os, module, &audit->os);
  audit->differenceCount = 0;
  const SelectionAction* row = audit->cellRead ? SelectionWriting(module, audit->value) : NULL;
  if (row != NULL)
    audit->differenceCount = FindDifferences(audit->os, row->step, audit->differences);
  audit->verdict = VerdictOf(*audit);
}

namespace {

void AppendCell(const ModuleAudit& audit, TextLine& line) {
  const ModuleCell& cell = CellOf(audit.module);
  line.Append(ModuleName(audit.module)).PadTo(kNameColumn);
  line.Append(HW_TEXT("cell ")).AppendHexByte(cell.address).Append(HW_TEXT(" = "));
  if (audit.cellRead) {
    line.AppendHexByte(audit.value)
        .Append(HW_TEXT("  "))
        .Append(DecodeCell(cell, audit.value).label);
  } else {
    line.Append(HW_TEXT("??    (cannot be read)"));
  }
}

}  // namespace

void AppendCellColumns(const ModuleAudit& audit, TextLine& line) {
  AppendCell(audit, line);
  line.PadTo(kOsColumn).Append(HW_TEXT("| "));
}

void AppendAuditLine(const ModuleAudit& audit, TextLine& line) {
  if (audit.verdict == ModuleAudit::kNoVerdict) {
    AppendCell(audit, line);
    return;
  }
  AppendCellColumns(audit, line);
  DescribeOsState(audit.os, line);
  line.Append(HW_TEXT(" | "));
  AppendVerdict(audit, line);
}

int RunReport(Platform& os, EepromChannel& channel, ResultOutput& out, ResultCounts* counts) {
  StartCounts(ResultCounts::kReport, counts);
  DriverList& drivers = RunDriverList();
  ReadDriverList(os, false, &drivers);
  for (size_t i = 0; i < kModuleCellCount; ++i) {
    const Module module = kModuleCells[i].module;
    ModuleAudit audit;
    AuditModule(os, channel, module, &audit);
    if (audit.verdict == ModuleAudit::kInconsistent) {
      CountModule(ResultCounts::kInconsistent, module, counts);
    }
    if (!audit.cellRead) CountModule(ResultCounts::kUnreadable, module, counts);
    TextLine line;
    AppendAuditLine(audit, line);
    out.Line(line);
    DriverAudit driver;
    AuditDriver(audit, drivers, false, &driver);
    if (!driver.judged) continue;
    CountDriver(module, driver, counts);
    line.Clear();
    AppendDriverLine(driver, line);
    out.Line(line);
  }
  // What disagrees outweighs what could not be read: it is what a script acts on.
  if (counts->count[ResultCounts::kInconsistent] > 0) return kExitInconsistent;
  return counts->count[ResultCounts::kUnreadable] > 0 ? kExitFailed : kExitOk;
}

}  // namespace hw
