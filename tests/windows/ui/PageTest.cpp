// The module pages, created by the main window as in the tool, on a fake
// terminal: their labels, their command rows, a device that does not open.
#include <windows.h>

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "FakeTerminal.h"
#include "UiTesting.h"
#include "eeprom/ModuleCells.h"
#include "framework/TabControl.h"
#include "setup/SelectionTable.h"
#include "ui/HWSetupDlg.h"
#include "ui/TerminalPlatform.h"

namespace {

const wchar_t* LabelOf(const hw::ModuleCell& cell, hw::UInt8 value) {
  for (std::size_t i = 0; i < cell.codeCount; ++i) {
    if (cell.codes[i].code == value) return reinterpret_cast<const wchar_t*>(cell.codes[i].label);
  }
  return L"Unknown";
}

class Pages : public ::testing::Test {
 protected:
  void SetUp() override {
    fake = FakeTerminal();
    fw::TabControl::LoadClass();
    // Every cell holds a known code, so every label changes as its page starts.
    for (const hw::ModuleCell& cell : hw::kModuleCells) {
      fake.eeprom[cell.address] = cell.codes[cell.codeCount - 1].code;
    }
  }
  HWND Page(hw::Page page) {
    return uitest::OwnedDialogWith(
        dlg.hwnd(), page == hw::Page::kPage1 ? L"Keyboard Type:" : L"BlueTooth Type:");
  }
  std::wstring Label(const hw::ModuleCell& cell) {
    return uitest::TextOf(::GetDlgItem(Page(cell.page), cell.labelControl));
  }

  FakeTerminal& fake = TheFakeTerminal();
  uitest::MessageBoxAnswerer answerer;
  CHWSetupDlg dlg{nullptr};
};


TEST_F(Pages, ShowTheirCellsAndRunTheSelectionOfEveryButtonClicked) {
  ASSERT_TRUE(dlg.Create(nullptr));
  for (const hw::ModuleCell& cell : hw::kModuleCells) {
    EXPECT_EQ(Label(cell), LabelOf(cell, fake.eeprom[cell.address])) << cell.labelControl;
  }
  for (const hw::SelectionAction& row : hw::kSelectionTable) {
    const hw::ModuleCell& cell = hw::CellOf(row.cell);
    fake.eeprom[cell.address] = 0x77;  // no row writes it
    ::SendMessageW(Page(row.page), WM_COMMAND, MAKEWPARAM(row.control, BN_CLICKED), 0);
    EXPECT_EQ(fake.eeprom[cell.address], row.code) << "button " << row.control;
    EXPECT_EQ(Label(cell), LabelOf(cell, row.code)) << "button " << row.control;
  }
  // Other notifications and controls have no rows.
  const auto cells = fake.eeprom;
  const HWND page1 = Page(hw::Page::kPage1);
  ::SendMessageW(page1, WM_COMMAND, MAKEWPARAM(IDC_KEYPAD_SIMPLE, BN_DOUBLECLICKED), 0);
  ::SendMessageW(page1, WM_COMMAND, MAKEWPARAM(IDC_KEYPAD_LABEL, BN_CLICKED), 0);
  ::SendMessageW(page1, WM_COMMAND, MAKEWPARAM(1021, BN_CLICKED), 0);  // page two's
  EXPECT_EQ(fake.eeprom, cells);
  EXPECT_TRUE(answerer.boxes().empty());
}

TEST_F(Pages, WhoseDeviceDoesNotOpenTellAndEndThemselves) {
  fake.workingOpens = 1;
  ASSERT_TRUE(dlg.Create(nullptr));
  EXPECT_NE(Page(hw::Page::kPage1), nullptr);
  EXPECT_EQ(Page(hw::Page::kPage2), nullptr) << "page two has no window";
  ASSERT_EQ(answerer.boxes().size(), 1u);
  const uitest::MessageBoxAnswerer::Box& box = answerer.boxes()[0];
  EXPECT_EQ(box.text, L"打开Flash设备失败！");
  EXPECT_EQ(box.caption, L"windows_ui_tests");
  EXPECT_EQ(box.ownerFirstText, L"BlueTooth Type:") << "page two owns the box";
  EXPECT_EQ(fake.trace.back(), L"Korva_HWSetupDlg: CreateFile(EOM1) Failed!\r\n");
}

}  // namespace
