#include "setup/ModulePage.h"

#include "eeprom/RefreshCell.h"
#include "setup/ApplySelection.h"
#include "setup/SelectionTable.h"

namespace hw {

const Char kOpenFailedLine[] = HW_TEXT("Korva_HWSetupDlg: CreateFile(EOM1) Failed!\r\n");
// "打开Flash设备失败！": opening the Flash device failed.
const Char kOpenFailedText[] = HW_TEXT("\u6253\u5f00Flash\u8bbe\u5907\u5931\u8d25\uff01");

bool ModulePage::Initialise() {
  if (!channel_.Open()) {
    os_.DebugPrintf(kOpenFailedLine, 0);
    view_.ShowMessage(kOpenFailedText, NULL);
    return false;
  }
  for (size_t i = 0; i < kModuleCellCount; ++i) {
    const ModuleCell& cell = kModuleCells[i];
    if (cell.page == page_) RefreshCell(os_, channel_, cell, view_.LabelFor(cell.labelControl));
  }
  return true;
}

bool ModulePage::Click(int control) {
  const SelectionAction* row = FindSelection(page_, control);
  if (row == NULL) return false;
  ApplySelection(os_, channel_, *row, view_.LabelFor(CellOf(row->cell).labelControl), view_);
  return true;
}

}  // namespace hw
