#pragma once

#include "platform/Types.h"

namespace hw {

enum Page { kPage1, kPage2 };

// In page order: page one's five cells, then page two's four.
enum Module {
  kKeypad,
  kFingerprint,
  k3G,
  kLf,
  kHandleKey,
  kBluetooth,
  kWifi,
  kSerialChip,
  kPowerChip
};

// One known code of a cell: what its label shows and what the trace says.
struct CellCode {
  UInt8 code;
  const Char* label;
  const Char* trace;
};

// The fixed description of one EEPROM module cell. Texts are zero-terminated
// because they go to the OS as they are.
struct ModuleCell {
  Module module;
  UInt8 address;
  Page page;
  int labelControl;
  const Char* rawTrace;  // one "%X" for the value read
  const CellCode* codes;  // compared in order
  size_t codeCount;
  const Char* fallbackTrace;  // for a value no code matches; the label is then kUnknownLabel
};

extern const Char kUnknownLabel[];
extern const Char kReadFailedLine[];

// The nine cells, indexed by Module, which is also the refresh order.
const size_t kModuleCellCount = 9;
extern const ModuleCell kModuleCells[kModuleCellCount];

inline const ModuleCell& CellOf(Module module) { return kModuleCells[module]; }

}  // namespace hw
