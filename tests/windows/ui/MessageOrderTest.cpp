// The orders the main window keeps, as the window calls it makes record them:
// its initialisation, a tab selection change and the settle timer; and the
// real application object's start and end.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "CallRecorder.h"
#include "FakeTerminal.h"
#include "UiTesting.h"
#include "framework/TabControl.h"
#include "ui/HWSetupApp.h"
#include "ui/HWSetupDlg.h"

namespace {

using Calls = std::vector<std::string>;

class MessageOrder : public ::testing::Test {
 protected:
  void SetUp() override {
    TheFakeTerminal() = FakeTerminal();
    fw::TabControl::LoadClass();
  }
};

TEST_F(MessageOrder, OfTheMainWindowsInitialisation) {
  uitest::CallRecorder recorder;
  CHWSetupDlg dlg(nullptr);
  ASSERT_TRUE(dlg.Create(nullptr));
  const Calls calls = recorder.Take();

  RECT area;
  ::GetClientRect(::GetDlgItem(dlg.hwnd(), IDC_TAB), &area);
  const std::string place = std::to_string(area.left + 5) + ", " + std::to_string(area.top + 49) +
                            ", " + std::to_string(area.right - area.left - 5) + ", " +
                            std::to_string(area.bottom + 24 - area.top - 49);
  const Calls expected = {
      "CreateDialog(102, null)",
      "WM_SETICON(main, ICON_BIG, icon)",
      "WM_SETICON(main, ICON_SMALL, icon)",
      "TCM_INSERTITEMW(tab, 0, mask 0x1, \"Page1\", image 0, param 0)",
      "TCM_INSERTITEMW(tab, 1, mask 0x1, \"Page2\", image 0, param 0)",
      "CreateDialog(103, tab)",
      "CreateDialog(104, tab)",
      "MoveWindow(page1, " + place + ", repaint)",
      "MoveWindow(page2, " + place + ", repaint)",
      "ShowWindow(page1, SW_SHOWNORMAL)",
      "ShowWindow(page2, SW_HIDE)",
  };
  EXPECT_EQ(calls, expected);
}

TEST_F(MessageOrder, OfATabSelectionChange) {
  CHWSetupDlg dlg(nullptr);
  ASSERT_TRUE(dlg.Create(nullptr));
  const HWND tab = ::GetDlgItem(dlg.hwnd(), IDC_TAB);
  const struct {
    const char* name;
    int selection;
    Calls calls;
  } cases[] = {
      {"to Page2", 1, {"TCM_GETCURSEL(tab)", "ShowWindow(page1, SW_HIDE)", "ShowWindow(page2, SW_SHOWNORMAL)"}},
      {"to Page1", 0, {"TCM_GETCURSEL(tab)", "ShowWindow(page1, SW_SHOWNORMAL)", "ShowWindow(page2, SW_HIDE)"}},
      {"to no selection", -1, {"TCM_GETCURSEL(tab)"}},
  };
  uitest::CallRecorder recorder;
  for (const auto& c : cases) {
    uitest::CallRecorder::Send(tab, TCM_SETCURSEL, static_cast<WPARAM>(c.selection), 0);
    NMHDR header = {tab, IDC_TAB, static_cast<UINT>(TCN_SELCHANGE)};
    const LRESULT result = uitest::CallRecorder::Send(dlg.hwnd(), WM_NOTIFY, IDC_TAB,
                                                      reinterpret_cast<LPARAM>(&header));
    EXPECT_EQ(recorder.Take(), c.calls) << c.name;
    EXPECT_EQ(result, 0) << c.name << ": the notification's result";
  }
}

// A page is a modeless dialog: the framework, not EndDialog, hides it, and
// gives the keypad back to the tab control.
TEST_F(MessageOrder, OfAPageThatEnds) {
  CHWSetupDlg dlg(nullptr);
  ASSERT_TRUE(dlg.Create(nullptr));
  const struct {
    const char* name;
    const wchar_t* title;  // the page's first control
    WPARAM command;
    Calls calls;
  } cases[] = {
      {"Esc's IDCANCEL on page one",
       L"Keyboard Type:",
       IDCANCEL,
       {"ShowWindow(page1, SW_HIDE)", "SetFocus(tab)"}},
      {"the caption OK's IDOK on page two",
       L"BlueTooth Type:",
       IDOK,
       {"ShowWindow(page2, SW_HIDE)", "SetFocus(tab)"}},
  };
  uitest::CallRecorder recorder;
  for (const auto& c : cases) {
    const HWND page = uitest::OwnedDialogWith(dlg.hwnd(), c.title);
    uitest::CallRecorder::Send(page, WM_COMMAND, MAKEWPARAM(c.command, BN_CLICKED), 0);
    EXPECT_EQ(recorder.Take(), c.calls) << c.name;
  }
}

TEST_F(MessageOrder, OfTheSettleTimer) {
  CHWSetupDlg dlg(nullptr);
  ASSERT_TRUE(dlg.Create(nullptr));
  const Calls settle = {"KillTimer(main, 1001)",
                        "SetWindowPos(main, HWND_TOPMOST, 0, 0, 0, 0, 0x41)",
                        "SetTimer(main, 1001, 1500, null)"};
  const struct {
    const char* name;
    UINT message;
    WPARAM timer;
    Calls calls;
  } cases[] = {
      {"a move starts timer 1001", WM_MOVE, 0, {"SetTimer(main, 1001, 1500, null)"}},
      {"another move starts it again", WM_MOVE, 0, {"SetTimer(main, 1001, 1500, null)"}},
      {"timer 1001 settles the window, whose move starts it again", WM_TIMER, 1001, settle},
      {"a timer of any id does the same", WM_TIMER, 7, settle},
  };
  uitest::CallRecorder recorder;
  for (const auto& c : cases) {
    // Away from the origin first, so that settling really moves the window.
    ::SetWindowPos(dlg.hwnd(), nullptr, 30, 40, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    recorder.Take();
    uitest::CallRecorder::Send(dlg.hwnd(), c.message, c.timer, 0);
    EXPECT_EQ(recorder.Take(), c.calls) << c.name;
  }
}

// Ends the main window as soon as the modal run has it up.
void CALLBACK CancelMainWindow(HWND, UINT, UINT_PTR, DWORD) {
  const HWND main = ::FindWindowW(L"#32770", L"Hardware Setup V2.3");
  if (main != nullptr) ::PostMessageW(main, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
}

TEST_F(MessageOrder, OfTheApplicationNamingItsKeyThenRunningItsWindow) {
  CHWSetupApp app;
  const UINT_PTR timer = ::SetTimer(nullptr, 0, 20, CancelMainWindow);
  EXPECT_FALSE(app.InitInstance()) << "the dialog was the program";
  ::KillTimer(nullptr, timer);
  EXPECT_EQ(std::wstring(app.RegistryKey()), L"应用程序向导生成的本地应用程序");
  EXPECT_EQ(app.MainWindow(), nullptr) << "dropped when the window was destroyed";
  EXPECT_EQ(::FindWindowW(L"#32770", L"Hardware Setup V2.3"), nullptr);
}

}  // namespace
