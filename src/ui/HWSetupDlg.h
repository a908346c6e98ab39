#pragma once

#include <windows.h>

#include <commctrl.h>

#include "framework/Dialog.h"
#include "framework/TabControl.h"
#include "ui/HWSetupDlgRes.h"
#include "ui/Pages.h"

// The main window: a tab control over the two module pages, which keeps
// itself at the screen's origin as a topmost window.
class CHWSetupDlg final : public fw::Dialog {
 public:
  explicit CHWSetupDlg(HWND parent);
  ~CHWSetupDlg() override = default;

  static constexpr UINT_PTR kSettleTimer = 1001;
  static constexpr UINT kSettleMilliseconds = 1500;

 protected:
  const fw::MessageTable& GetMessageTable() const override { return kMessageTable; }
  bool DoDataExchange() override;
  bool OnInitDialog() override;

 private:
  bool OnSelChange(WPARAM, LPARAM);
  bool OnMove(WPARAM, LPARAM);
  bool OnSize(WPARAM, LPARAM);
  bool OnTimer(WPARAM, LPARAM);

  static constexpr fw::MessageRow kRows[] = {
      {WM_NOTIFY, static_cast<int>(TCN_SELCHANGE), IDC_TAB, &fw::Call<&CHWSetupDlg::OnSelChange>},
      {WM_MOVE, 0, 0, &fw::Call<&CHWSetupDlg::OnMove>},
      {WM_SIZE, 0, 0, &fw::Call<&CHWSetupDlg::OnSize>},
      {WM_TIMER, 0, 0, &fw::Call<&CHWSetupDlg::OnTimer>},
  };
  static constexpr fw::MessageTable kMessageTable = fw::MakeTable(kRows, fw::Dialog::kMessageTable);

  HICON icon_;
  CPage1 page1_;
  CPage2 page2_;
  fw::TabControl tab_;
};
