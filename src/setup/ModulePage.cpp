#include "setup/ModulePage.h"

#include "eeprom/RefreshCell.h"
#include "setup/ApplySelection.h"
#include "setup/SelectionTable.h"

namespace hw {

bool ModulePage::Initialise() {
  if (!channel_.Open()) {
    os_.DebugPrintf(kOpenFailedLine, 0);
    view_.ShowMessage(kOpenFailedText, nullptr);
    return false;
  }
  for (const ModuleCell& cell : kModuleCells) {
    if (cell.page == page_) RefreshCell(os_, channel_, cell, view_.LabelFor(cell.labelControl));
  }
  return true;
}

bool ModulePage::Click(int control) {
  const SelectionAction* row = FindSelection(page_, control);
  if (row == nullptr) return false;
  ApplySelection(os_, channel_, *row, view_.LabelFor(CellOf(row->cell).labelControl), view_);
  return true;
}

}  // namespace hw
