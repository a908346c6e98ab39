#include "eeprom/RefreshCell.h"

namespace hw {

DecodedCell DecodeCell(const ModuleCell& cell, UInt8 value) {
  for (size_t i = 0; i < cell.codeCount; ++i) {
    if (cell.codes[i].code == value) {
      const DecodedCell known = {cell.codes[i].label, cell.codes[i].trace};
      return known;
    }
  }
  const DecodedCell unknown = {kUnknownLabel, cell.fallbackTrace};
  return unknown;
}

void RefreshCell(Platform& os, EepromChannel& channel, const ModuleCell& cell, Label& label) {
  if (!channel.IsOpen()) return;
  UInt8 value = 0;
  if (!channel.ReadCell(cell.address, &value)) {
    os.DebugPrintf(kReadFailedLine, 0);
    return;
  }
  os.DebugPrintf(cell.rawTrace, value);
  const DecodedCell decoded = DecodeCell(cell, value);
  label.SetText(decoded.label);
  os.DebugPrintf(decoded.trace, 0);
}

}  // namespace hw
