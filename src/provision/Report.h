#pragma once

#include "eeprom/EepromChannel.h"
#include "provision/OsState.h"
#include "provision/ResultCounts.h"
#include "provision/ResultOutput.h"

namespace hw {

// One module of the report: its cell, the label the dialog would show, and
// for a module whose buttons provision the OS, what the OS holds against
// what the button that writes the cell's value leaves there.
struct ModuleAudit {
  enum Verdict {
    kNoVerdict,  // the module's buttons write the cell only
    kConsistent,
    kInconsistent,
    kNotManaged,    // the value's button leaves the OS alone
    kUnknownValue,  // no button writes the value
    kCellUnreadable
  };
  Module module;
  bool cellRead;
  UInt8 value;
  Verdict verdict;
  OsState os;
  size_t differenceCount;
  Difference differences[kMaxDifferences];
};

// Reads the cell without a trace line (the report is not a press) and audits it.
void AuditModule(Platform& os, EepromChannel& channel, Module module, ModuleAudit* audit);
void AppendAuditLine(const ModuleAudit& audit, TextLine& line);
// The columns a report line and a sync line share: the module, its cell, the
// value and its label, then "| " at kOsColumn.
void AppendCellColumns(const ModuleAudit& audit, TextLine& line);

// A line per module in page order; the caller writes the result line from
// *counts. kExitInconsistent when some module is INCONSISTENT, else
// kExitFailed when a cell could not be read.
int RunReport(Platform& os, EepromChannel& channel, ResultOutput& out, ResultCounts* counts);

// Columns shared by the result lines.
const size_t kNameColumn = 13;
// After "cell 0xNN = 0xNN  " and the longest label.
const size_t kOsColumn = kNameColumn + 18 + 16;

}  // namespace hw
