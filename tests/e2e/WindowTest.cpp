// The main window as a whole: switching tabs, settling at the screen's origin
// after a move, and ending the program with OK or Cancel.
#include <windows.h>
// After <windows.h>, which it needs.
#include <commctrl.h>

#include <cstdio>

#include "E2eCase.h"
#include "WindowQuery.h"

namespace e2e {
namespace {

class MainWindow : public E2eCase {};

TEST_F(MainWindow, TabsSwitchThePagesBothWays) {
  Start(E2E_HERE);
  HWND page1 = Tool().Page(1);
  HWND page2 = Tool().Page(2);
  ASSERT_NE(nullptr, page1);
  ASSERT_NE(nullptr, page2);
  const RECT place = WindowRect(page1);
  struct Step {
    int tab;
    bool page1Shown;
    bool page2Shown;
  };
  for (const Step& step :
       {Step{1, false, true}, Step{0, true, false}, Step{1, false, true}, Step{0, true, false}}) {
    SCOPED_TRACE("select tab " + std::to_string(step.tab));
    Tool().SelectTab(E2E_HERE, step.tab);
    EXPECT_EQ(step.tab, SendMessageW(Tool().Tab(), TCM_GETCURSEL, 0, 0));
    EXPECT_EQ(step.page1Shown, IsWindowVisible(page1) != FALSE);
    EXPECT_EQ(step.page2Shown, IsWindowVisible(page2) != FALSE);
    HWND shown = step.tab == 0 ? page1 : page2;
    EXPECT_TRUE(SameRect(place, WindowRect(shown))) << Describe(WindowRect(shown));
    EXPECT_TRUE(InFrontOf(shown, Tool().FindMainWindow())) << "the page shown stands over the tab";
  }
  ExpectLines(E2E_HERE, "trace", StartLines(Terminal().Eeprom()), Terminal().DebugLog());
}

bool RunningOnWine() {
  return GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr;
}

// Moves the main window to (x, y), as a drag would, and returns how long it
// took to come back to the origin, or -1 when it did not within 6 s.
long long MoveAndTimeReturn(const Where& where, HWND main, int x, int y) {
  SetWindowPos(main, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  const ULONGLONG moved = GetTickCount64();
  const RECT away = WindowRect(main);
  if (away.left != x || away.top != y) {
    E2E_FAIL_AT(where) << "the window did not move to (" << x << "," << y
                       << "): " << Describe(away);
  }
  if (!PollUntil([&] { return WindowRect(main).left == 0 && WindowRect(main).top == 0; }, 6000)) {
    E2E_FAIL_AT(where) << "timed out awaiting the window back at (0,0); it stands at "
                       << Describe(WindowRect(main));
    return -1;
  }
  return static_cast<long long>(GetTickCount64() - moved);
}

std::vector<HWND> TopmostWindows(ToolProcess& tool) {
  std::vector<HWND> topmost;
  for (HWND window : tool.Windows()) {
    if (IsTopmost(window)) topmost.push_back(window);
  }
  return topmost;
}

// The main window asked the window system to put it into the topmost band.
// Windows gives the window WS_EX_TOPMOST. Wine 8 does so only for a window
// that owns no popups: for an owner it moves the owned popups that stand
// above it into the band and links the owner below them without the flag.
// Under Wine the request therefore shows as a popup of the main window that
// has become topmost.
void ExpectTopmostRequestHonoured(const Where& where, ToolProcess& tool) {
  HWND main = tool.FindMainWindow();
  if (IsTopmost(main)) return;
  if (!RunningOnWine()) {
    E2E_FAIL_AT(where) << "the main window is not topmost";
    return;
  }
  for (HWND window : TopmostWindows(tool)) {
    if (GetWindow(window, GW_OWNER) == main) {
      std::printf("note: Wine shows the main window's topmost request on its page %d\n",
                  PageNumberOf(window));
      return;
    }
  }
  E2E_FAIL_AT(where) << "neither the main window nor (as Wine places an owner) a popup it owns "
                        "is topmost";
}

TEST_F(MainWindow, SettlesAtTheOriginAsTopmostAfterEachMove) {
  Start(E2E_HERE);
  HWND main = Tool().FindMainWindow();
  ASSERT_NE(nullptr, main);
  ASSERT_TRUE(TopmostWindows(Tool()).empty()) << "nothing of the tool is topmost before a move";
  const RECT start = WindowRect(main);
  const long long back = MoveAndTimeReturn(E2E_HERE, main, 200, 150);
  EXPECT_GE(back, 1400) << "ms until the window was back";
  EXPECT_LE(back, 4000) << "ms until the window was back";
  const RECT settled = WindowRect(main);
  EXPECT_EQ(start.right - start.left, settled.right - settled.left) << "width";
  EXPECT_EQ(start.bottom - start.top, settled.bottom - settled.top) << "height";
  EXPECT_TRUE(IsWindowVisible(main));
  ExpectTopmostRequestHonoured(E2E_HERE, Tool());

  // A second move before the timer ran out starts the 1.5 s again.
  SetWindowPos(main, nullptr, 300, 200, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  Sleep(800);
  EXPECT_EQ(300, WindowRect(main).left) << "back too early";
  const long long again = MoveAndTimeReturn(E2E_HERE, main, 250, 100);
  EXPECT_GE(again, 1400) << "ms after the second move";
  EXPECT_LE(again, 4000) << "ms after the second move";
}

TEST_F(MainWindow, OkAndCancelBothEndTheProgram) {
  std::optional<DWORD> codes[2];
  const WPARAM commands[2] = {IDOK, IDCANCEL};
  for (int i = 0; i < 2; ++i) {
    SCOPED_TRACE(i == 0 ? "IDOK" : "IDCANCEL");
    if (i == 1) RenewTerminal();
    const std::vector<std::uint8_t> eeprom = Terminal().Eeprom();
    const std::string registry = Terminal().Read("registry.reg");
    Start(E2E_HERE);
    ASSERT_NE(nullptr, Tool().FindMainWindow());
    codes[i] = Close(E2E_HERE, commands[i]);
    ASSERT_TRUE(codes[i].has_value());
    EXPECT_TRUE(Tool().Windows().empty());
    EXPECT_EQ(registry, Terminal().Read("registry.reg")) << "nothing is written at the end";
    ExpectEeprom(E2E_HERE, eeprom, Terminal().Eeprom());
    ExpectLines(E2E_HERE, "trace", StartLines(eeprom), Terminal().DebugLog());
  }
  EXPECT_EQ(*codes[0], *codes[1]) << "exit codes after OK and after Cancel";
}

}  // namespace
}  // namespace e2e
