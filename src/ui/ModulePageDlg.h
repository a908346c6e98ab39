#pragma once

#include <windows.h>

#include "eeprom/ModuleCells.h"
#include "framework/Dialog.h"
#include "framework/MessageBox.h"
#include "framework/Static.h"
#include "setup/ModulePage.h"
#include "ui/TerminalPlatform.h"

// The window of a module page over its core. `Layout` says what makes one
// page differ from the other: its template, its page in the catalogue, its
// label controls in member order and its command table.
template <class Layout>
class CModulePage : public fw::Dialog, public hw::PageView {
 public:
  CModulePage() : fw::Dialog(Layout::kTemplate), core_(TerminalPlatform(), Layout::kPage, *this) {}
  virtual ~CModulePage() {}

  hw::Label& LabelFor(int labelControl) HW_OVERRIDE {
    for (int i = 0; i < Layout::kLabelCount; ++i) {
      if (Layout::kLabels[i] == labelControl) return labels_[i];
    }
    // Every cell of the page has its label in the layout; an unbound label
    // does nothing.
    return unbound_;
  }

  void ShowMessage(const hw::Char* text, const hw::Char* caption) HW_OVERRIDE {
    fw::ShowMessageBox(hwnd(), text, caption, MB_OK);
  }

  // The handler of every command row: the clicked button's selection row.
  static bool OnClick(fw::Dialog& dialog, WPARAM wParam, LPARAM) {
    static_cast<CModulePage&>(dialog).core_.Click(LOWORD(wParam));
    return true;
  }

 protected:
  const fw::MessageTable& GetMessageTable() const HW_OVERRIDE { return Layout::kCommandTable; }

  bool DoDataExchange() HW_OVERRIDE {
    bool bound = true;
    for (int i = 0; i < Layout::kLabelCount; ++i) bound &= Bind(Layout::kLabels[i], labels_[i]);
    return bound;
  }

  // A page whose device does not open has shown its message box by now; it
  // ends itself, and its creation then reports failure.
  bool OnInitDialog() HW_OVERRIDE {
    fw::Dialog::OnInitDialog();
    if (!core_.Initialise()) {
      OnCancel();
      return false;
    }
    return true;
  }

 private:
  hw::ModulePage core_;
  fw::Static labels_[Layout::kLabelCount];
  fw::Static unbound_;
};
