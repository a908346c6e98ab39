#pragma once

#include <windows.h>

#include <array>
#include <cstddef>

#include "eeprom/ModuleCells.h"
#include "framework/Dialog.h"
#include "framework/MessageBox.h"
#include "framework/Static.h"
#include "setup/ModulePage.h"
#include "ui/ClickRows.h"
#include "ui/TerminalPlatform.h"

// Whether a layout binds the label of every cell its page refreshes, in
// catalogue order, and nothing else.
template <class Layout>
constexpr bool LabelsMatchCells() {
  std::size_t n = 0;
  for (const hw::ModuleCell& cell : hw::kModuleCells) {
    if (cell.page != Layout::kPage) continue;
    if (n >= Layout::kLabels.size() || Layout::kLabels[n] != cell.labelControl) return false;
    ++n;
  }
  return n == Layout::kLabels.size();
}

// The window of a module page over its core. `Layout` says what makes one
// page differ from the other: its template, its page in the catalogue and its
// label controls in member order.
template <class Layout>
class CModulePage : public fw::Dialog, public hw::PageView {
  static_assert(LabelsMatchCells<Layout>(), "a page binds its cells' labels, in catalogue order");

 public:
  CModulePage() : fw::Dialog(Layout::kTemplate), core_(TerminalPlatform(), Layout::kPage, *this) {}
  ~CModulePage() override = default;

  hw::Label& LabelFor(int labelControl) override {
    for (std::size_t i = 0; i < labels_.size(); ++i) {
      if (Layout::kLabels[i] == labelControl) return labels_[i];
    }
    // Unreachable while LabelsMatchCells holds; an unbound label does nothing.
    static fw::Static unbound;
    return unbound;
  }

  void ShowMessage(const char16_t* text, const char16_t* caption) override {
    fw::ShowMessageBox(hwnd(), reinterpret_cast<const wchar_t*>(text),
                       reinterpret_cast<const wchar_t*>(caption), MB_OK);
  }

 protected:
  const fw::MessageTable& GetMessageTable() const override { return kMessageTable; }

  bool DoDataExchange() override {
    bool bound = true;
    for (std::size_t i = 0; i < labels_.size(); ++i) bound &= Bind(Layout::kLabels[i], labels_[i]);
    return bound;
  }

  // A page whose device does not open has shown its message box by now; it
  // ends itself, and its creation then reports failure.
  bool OnInitDialog() override {
    fw::Dialog::OnInitDialog();
    if (!core_.Initialise()) {
      OnCancel();
      return false;
    }
    return true;
  }

 private:
  bool OnClick(WPARAM wParam, LPARAM) {
    core_.Click(LOWORD(wParam));
    return true;
  }

  static constexpr auto kClickRows = ClickRows<Layout::kPage>(&fw::Call<&CModulePage::OnClick>);
  static constexpr fw::MessageTable kMessageTable =
      fw::MakeTable(kClickRows, fw::Dialog::kMessageTable);

  hw::ModulePage core_;
  std::array<fw::Static, Layout::kLabels.size()> labels_;
};
