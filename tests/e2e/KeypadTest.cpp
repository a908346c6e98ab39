// A technician with a keypad: the focus moves through a page's buttons in
// template order, Space or Enter presses the focused one as a tap does, and Esc ends
// the page as a dialog (hidden, state kept) until its tab is selected again.
// The keys are real input (SendInput) to the tool in the foreground, so the
// window system keeps the Shift state as a keypad's would.
#include "E2eCase.h"
#include "WindowQuery.h"

namespace e2e {
namespace {

class Keypad : public E2eCase {
 protected:
  HWND FocusOfTool() {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    return GetGUIThreadInfo(Tool().MainThreadId(), &info) ? info.hwndFocus : nullptr;
  }

  // Gives a page's control the focus the dialog's own way, from its thread.
  void Focus(const Where& where, HWND page, int id) {
    SetForegroundWindow(page);
    SendMessageW(page, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(GetDlgItem(page, id)), TRUE);
    AwaitFocus(where, page, id);
  }

  // A key press as the keypad makes it, into the page in the foreground (a
  // dialog brought back to the front gives the focus back to its control).
  void Key(HWND page, WORD key, bool shift = false) {
    SetForegroundWindow(page);
    std::vector<INPUT> inputs;
    auto add = [&](WORD vk, bool up) {
      INPUT input{};
      input.type = INPUT_KEYBOARD;
      input.ki.wVk = vk;
      input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
      inputs.push_back(input);
    };
    if (shift) add(VK_SHIFT, false);
    add(key, false);
    add(key, true);
    if (shift) add(VK_SHIFT, true);
    SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
  }

  void AwaitFocus(const Where& where, HWND page, int id) {
    HWND wanted = GetDlgItem(page, id);
    if (!PollUntil([&] { return FocusOfTool() == wanted; }, kStepTimeout)) {
      HWND focus = FocusOfTool();
      E2E_FAIL_AT(where) << "awaited the focus on control " << id << " (\"" << TextOf(wanted)
                         << "\"); it is on " << GetDlgCtrlID(focus) << " (\"" << TextOf(focus)
                         << "\")";
    }
  }
};

TEST_F(Keypad, TabAndShiftTabFollowTemplateOrderAndSpaceOrEnterPressesAsATapDoes) {
  Start(E2E_HERE);
  HWND page1 = Tool().Page(1);
  ASSERT_NE(nullptr, page1);
  Focus(E2E_HERE, page1, 1001);  // "All Func", the first button

  Key(page1, VK_TAB);
  AwaitFocus(E2E_HERE, page1, 1002);  // "Simple", next in the template

  const std::size_t before = Terminal().DebugLog().size();
  Key(page1, VK_SPACE);
  ASSERT_TRUE(PollUntil([&] { return Terminal().DebugLog().size() >= before + 2; }, kStepTimeout))
      << "no trace from Space on \"Simple\"";
  Tool().Sync(E2E_HERE, page1);
  std::vector<std::uint8_t> eeprom = EepromImage({});
  ExpectLines(E2E_HERE, "trace of Space on \"Simple\"",
              RefreshLines(CellAt(0x69), 0x32), After(Terminal().DebugLog(), before));
  eeprom[0x69] = 0x32;
  ExpectEeprom(E2E_HERE, eeprom, Terminal().Eeprom());
  ExpectLabels(E2E_HERE, eeprom);

  Key(page1, VK_TAB, true);
  AwaitFocus(E2E_HERE, page1, 1001);

  // Enter presses the focused button too: "All Func" writes 0xFF back.
  const std::size_t beforeEnter = Terminal().DebugLog().size();
  Key(page1, VK_RETURN);
  ASSERT_TRUE(
      PollUntil([&] { return Terminal().DebugLog().size() >= beforeEnter + 2; }, kStepTimeout))
      << "no trace from Enter on \"All Func\"";
  Tool().Sync(E2E_HERE, page1);
  ExpectLines(E2E_HERE, "trace of Enter on \"All Func\"", RefreshLines(CellAt(0x69), 0xFF),
              After(Terminal().DebugLog(), beforeEnter));
  eeprom[0x69] = 0xFF;
  ExpectEeprom(E2E_HERE, eeprom, Terminal().Eeprom());
  ExpectLabels(E2E_HERE, eeprom);
  ExpectNoMessageBox(E2E_HERE);
}

TEST_F(Keypad, OnPageTwoTabGoesFromMurate8XqfToVk3224) {
  Start(E2E_HERE);
  Tool().SelectTab(E2E_HERE, 1);
  HWND page2 = Tool().Page(2);
  ASSERT_NE(nullptr, page2);
  Focus(E2E_HERE, page2, 1022);  // "muRate 8XQF"
  Key(page2, VK_TAB);
  AwaitFocus(E2E_HERE, page2, 1024);  // "VK3224": the statics between take no focus
  const std::vector<std::uint8_t> fresh = EepromImage({});
  ExpectEeprom(E2E_HERE, fresh, Terminal().Eeprom());
}

TEST_F(Keypad, EscHidesThePageWhichTheNextSelectionOfItsTabShowsAgain) {
  Start(E2E_HERE);
  HWND page1 = Tool().Page(1);
  ASSERT_NE(nullptr, page1);
  Focus(E2E_HERE, page1, 1014);  // "OutSide"
  Key(page1, VK_ESCAPE);
  ASSERT_TRUE(PollUntil([&] { return !IsWindowVisible(page1); }, kStepTimeout))
      << "Esc left page one shown";
  EXPECT_EQ(page1, Tool().Page(1)) << "the page keeps its window";

  Tool().SelectTab(E2E_HERE, 1);
  Tool().SelectTab(E2E_HERE, 0);
  EXPECT_TRUE(IsWindowVisible(page1)) << "selecting its tab shows it again";
  ExpectLabels(E2E_HERE, EepromImage({}));
  ExpectNoMessageBox(E2E_HERE);
}

}  // namespace
}  // namespace e2e
