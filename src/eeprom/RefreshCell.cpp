#include "eeprom/RefreshCell.h"

namespace hw {

DecodedCell DecodeCell(const ModuleCell& cell, std::uint8_t value) {
  for (std::size_t i = 0; i < cell.codeCount; ++i) {
    if (cell.codes[i].code == value) return {cell.codes[i].label, cell.codes[i].trace};
  }
  return {kUnknownLabel, cell.fallbackTrace};
}

void RefreshCell(Platform& os, EepromChannel& channel, const ModuleCell& cell, Label& label) {
  if (!channel.IsOpen()) return;
  std::uint8_t value = 0;
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
