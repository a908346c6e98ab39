#include "ui/HWSetupDlg.h"

#include <commctrl.h>

#include "framework/App.h"

const fw::MessageRow CHWSetupDlg::kRows[] = {
    {WM_NOTIFY, static_cast<int>(TCN_SELCHANGE), IDC_TAB, &fw::Call<CHWSetupDlg, &CHWSetupDlg::OnSelChange>},
    {WM_MOVE, 0, 0, &fw::Call<CHWSetupDlg, &CHWSetupDlg::OnMove>},
    {WM_SIZE, 0, 0, &fw::Call<CHWSetupDlg, &CHWSetupDlg::OnSize>},
    {WM_TIMER, 0, 0, &fw::Call<CHWSetupDlg, &CHWSetupDlg::OnTimer>},
};
const fw::MessageTable CHWSetupDlg::kMessageTable = {kRows, HW_COUNT_OF(kRows),
                                                     &fw::Dialog::kMessageTable};

CHWSetupDlg::CHWSetupDlg(HWND parent)
    : fw::Dialog(IDD_HWSETUP_DIALOG, parent),
      // Never destroyed: the handle lives until the process ends.
      icon_(::LoadIconW(fw::ResourceInstance(), MAKEINTRESOURCEW(IDR_MAINFRAME))) {}

bool CHWSetupDlg::DoDataExchange() {
  return Bind(IDC_TAB, tab_);
}

bool CHWSetupDlg::OnInitDialog() {
  fw::Dialog::OnInitDialog();
  SendMessage(WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon_));
  SendMessage(WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon_));
  tab_.InsertItem(0, L"Page1");
  tab_.InsertItem(1, L"Page2");

  // A page whose device did not open has no window; placing and showing it
  // below then does nothing, and its tab shows an empty area.
  page1_.Create(tab_.hwnd());
  page2_.Create(tab_.hwnd());

  // The pages are popups: these are screen coordinates, taken from the tab
  // control's client rectangle as they are.
  RECT area;
  tab_.GetClientRect(&area);
  area.left += 5;
  area.top += 49;
  area.bottom += 24;
  const int width = area.right - area.left;
  const int height = area.bottom - area.top;
  page1_.Move(area.left, area.top, width, height, true);
  page2_.Move(area.left, area.top, width, height, true);

  page1_.Show(SW_SHOWNORMAL);
  page2_.Show(SW_HIDE);
  return true;
}

bool CHWSetupDlg::OnSelChange(WPARAM, LPARAM) {
  switch (tab_.GetCurSel()) {
    case 0:
      page1_.Show(SW_SHOWNORMAL);
      page2_.Show(SW_HIDE);
      break;
    case 1:
      page1_.Show(SW_HIDE);
      page2_.Show(SW_SHOWNORMAL);
      break;
    default: break;
  }
  SetMessageResult(0);
  return true;
}

// Every reported move, whoever made it, restarts the settle timer.
bool CHWSetupDlg::OnMove(WPARAM, LPARAM) {
  SetTimer(kSettleTimer, kSettleMilliseconds);
  return false;
}

// Claims WM_SIZE so that no size handling of a base table ever lays the
// window out again; the window system's default is all that runs.
bool CHWSetupDlg::OnSize(WPARAM, LPARAM) {
  return false;
}

// Any timer is the settle timer: it fires once per move, then the window goes
// back to the screen's origin, topmost, with its size kept.
bool CHWSetupDlg::OnTimer(WPARAM, LPARAM) {
  KillTimer(kSettleTimer);
  SetPos(HWND_TOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_SHOWWINDOW);
  return false;
}
