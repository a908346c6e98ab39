// The start-up peer: HWSetup's main window and both pages, made from the same
// templates and icon and created, placed and shown the way the tool does it,
// with no terminal behind them. What the tool needs beyond this program to
// show its window is what the terminal costs.
#include <windows.h>
// After <windows.h>, which it needs.
#include <commctrl.h>

#include <initializer_list>

#include "ui/HWSetupDlgRes.h"
#include "ui/Page1Res.h"
#include "ui/Page2Res.h"

namespace {

constexpr UINT_PTR kSettleTimer = 1001;
constexpr UINT kSettleMilliseconds = 1500;

INT_PTR CALLBACK PageProcedure(HWND, UINT message, WPARAM, LPARAM) {
  return message == WM_INITDIALOG ? TRUE : FALSE;
}

void InsertTab(HWND tab, int index, const wchar_t* text) {
  TCITEMW item = {};
  item.mask = TCIF_TEXT;
  item.pszText = const_cast<wchar_t*>(text);
  SendMessageW(tab, TCM_INSERTITEMW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
}

void OnInitDialog(HWND dialog) {
  const HINSTANCE instance = GetModuleHandleW(nullptr);
  const HICON icon = LoadIconW(instance, MAKEINTRESOURCEW(IDR_MAINFRAME));
  SendMessageW(dialog, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
  SendMessageW(dialog, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
  const HWND tab = GetDlgItem(dialog, IDC_TAB);
  InsertTab(tab, 0, L"Page1");
  InsertTab(tab, 1, L"Page2");
  const HWND page1 =
      CreateDialogParamW(instance, MAKEINTRESOURCEW(IDD_PAGE1), tab, PageProcedure, 0);
  const HWND page2 =
      CreateDialogParamW(instance, MAKEINTRESOURCEW(IDD_PAGE2), tab, PageProcedure, 0);
  RECT area;
  GetClientRect(tab, &area);
  area.left += 5;
  area.top += 49;
  area.bottom += 24;
  for (HWND page : {page1, page2}) {
    MoveWindow(page, area.left, area.top, area.right - area.left, area.bottom - area.top, TRUE);
  }
  ShowWindow(page1, SW_SHOWNORMAL);
  ShowWindow(page2, SW_HIDE);
}

INT_PTR CALLBACK MainProcedure(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  switch (message) {
    case WM_INITDIALOG: OnInitDialog(dialog); return TRUE;
    case WM_MOVE:  // the tool's settle timer, restarted by every move
      SetTimer(dialog, kSettleTimer, kSettleMilliseconds, nullptr);
      return FALSE;
    case WM_TIMER:
      KillTimer(dialog, kSettleTimer);
      SetWindowPos(dialog, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_SHOWWINDOW);
      return FALSE;
    case WM_COMMAND:
      if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
        EndDialog(dialog, LOWORD(wParam));
        return TRUE;
      }
      return FALSE;
    default: return FALSE;
  }
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, LPWSTR, int) {
  INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_TAB_CLASSES};
  InitCommonControlsEx(&controls);
  return static_cast<int>(
      DialogBoxParamW(instance, MAKEINTRESOURCEW(IDD_HWSETUP_DIALOG), nullptr, MainProcedure, 0));
}
