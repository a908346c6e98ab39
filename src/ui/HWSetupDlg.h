#pragma once

#include <windows.h>

#include "framework/Dialog.h"
#include "framework/TabControl.h"
#include "ui/HWSetupDlgRes.h"
#include "ui/Pages.h"

// The main window: a tab control over the two module pages, which keeps
// itself at the screen's origin as a topmost window.
class CHWSetupDlg : public fw::Dialog {
 public:
  explicit CHWSetupDlg(HWND parent);
  virtual ~CHWSetupDlg() {}

  static const UINT_PTR kSettleTimer = 1001;
  static const UINT kSettleMilliseconds = 1500;

 protected:
  const fw::MessageTable& GetMessageTable() const HW_OVERRIDE { return kMessageTable; }
  bool DoDataExchange() HW_OVERRIDE;
  bool OnInitDialog() HW_OVERRIDE;

 private:
  bool OnSelChange(WPARAM, LPARAM);
  bool OnMove(WPARAM, LPARAM);
  bool OnSize(WPARAM, LPARAM);
  bool OnTimer(WPARAM, LPARAM);

  static const fw::MessageRow kRows[];
  static const fw::MessageTable kMessageTable;

  HICON icon_;
  CPage1 page1_;
  CPage2 page2_;
  fw::TabControl tab_;
};
