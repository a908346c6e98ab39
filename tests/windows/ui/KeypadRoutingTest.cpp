// The keypad through the framework's modal loop on the desktop's dialog class
// and on CE's "Dialog": a page placed as the tool places one answers Tab,
// Space and Esc alike in both, and Esc on the main window ends its run.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "KeypadRouting.h"
#include "UiTesting.h"
#include "framework/Dialog.h"
#include "framework/TabControl.h"
#include "ui/HWSetupDlgRes.h"
#include "ui/Page1Res.h"

namespace {

constexpr UINT kNextKey = WM_APP + 1;
constexpr INT_PTR kStillRunning = 99;

const struct {
  const char* name;
  int control;  // the page's control that holds the focus when the key comes
  WPARAM key;
  const char* outcome;
} kKeys[] = {
    {"Tab", IDC_KEYPAD_ALL_FUNC, VK_TAB, "focus 1002"},
    {"Space", IDC_KEYPAD_SIMPLE, VK_SPACE, "focus 1002, pressed"},
    {"Esc", IDC_KEYPAD_SIMPLE, VK_ESCAPE, "hidden, focus 1008"},  // IDC_TAB
};

// A key as the window system queues it: to the window with the focus.
void Press(HWND control, WPARAM key) {
  ::SetFocus(control);
  ::PostMessageW(control, WM_KEYDOWN, key, 1);
  ::PostMessageW(control, WM_KEYUP, key, 0xC0000001);
}

// The main window, which from inside its modal run presses the keys of
// kKeys on its page one a turn of the loop and notes what each did, then Esc
// on its tab control; or the page, which notes a press of "Simple".
class Probe final : public fw::Dialog {
 public:
  Probe(int templateId, Probe* page) : fw::Dialog(templateId), page_(page) {}
  std::vector<std::string> outcomes;
  std::wstring pageClass;
  bool pressed = false;

 protected:
  const fw::MessageTable& GetMessageTable() const override { return kTable; }
  bool OnInitDialog() override {
    fw::Dialog::OnInitDialog();
    if (page_ == nullptr) return true;
    page_->Create(::GetDlgItem(hwnd(), IDC_TAB));
    pageClass = uitest::ClassOf(page_->hwnd());
    ::PostMessageW(hwnd(), kNextKey, 0, 0);
    return true;
  }

 private:
  bool OnNextKey(WPARAM, LPARAM) {
    if (next_ > 0 && next_ <= std::size(kKeys)) outcomes.push_back(Outcome());
    if (next_ < std::size(kKeys)) {
      Press(::GetDlgItem(page_->hwnd(), kKeys[next_].control), kKeys[next_].key);
    } else if (next_ == std::size(kKeys)) {
      Press(::GetDlgItem(hwnd(), IDC_TAB), VK_ESCAPE);
    } else {
      EndDialog(kStillRunning);  // Esc left the run going
    }
    ++next_;
    ::PostMessageW(hwnd(), kNextKey, 0, 0);
    return true;
  }
  std::string Outcome() {
    const std::string focus = "focus " + std::to_string(::GetDlgCtrlID(::GetFocus()));
    if (!::IsWindowVisible(page_->hwnd())) return "hidden, " + focus;
    return page_->pressed ? focus + ", pressed" : focus;
  }
  bool OnPress(WPARAM, LPARAM) {
    pressed = true;
    return true;
  }

  Probe* page_;
  std::size_t next_ = 0;
  static constexpr fw::MessageRow kRows[] = {
      {kNextKey, 0, 0, &fw::Call<Probe, &Probe::OnNextKey>},
      {WM_COMMAND, BN_CLICKED, IDC_KEYPAD_SIMPLE, &fw::Call<Probe, &Probe::OnPress>},
  };
  static constexpr fw::MessageTable kTable = {kRows, std::size(kRows), &fw::Dialog::kMessageTable};
};

TEST(KeypadRouting, AnswersOnCesDialogClassAsOnTheDesktops) {
  // As CE's window system registers its dialog class.
  WNDCLASSW ceDialog = {};
  ceDialog.lpfnWndProc = ::DefDlgProcW;
  ceDialog.cbWndExtra = DLGWINDOWEXTRA;
  ceDialog.hInstance = ::GetModuleHandleW(nullptr);
  ceDialog.lpszClassName = L"Dialog";
  ASSERT_TRUE(::RegisterClassW(&ceDialog) != 0 || ::GetLastError() == ERROR_CLASS_ALREADY_EXISTS);
  fw::TabControl::LoadClass();
  const struct {
    const wchar_t* className;
    int mainTemplate;
    int pageTemplate;
  } classes[] = {
      {L"#32770", IDD_HWSETUP_DIALOG, IDD_PAGE1},  // the tool's own
      {L"Dialog", IDD_CE_MAIN, IDD_CE_PAGE},
  };
  for (const auto& c : classes) {
    Probe page(c.pageTemplate, nullptr);
    Probe main(c.mainTemplate, &page);
    EXPECT_EQ(main.DoModal(), IDCANCEL) << c.className << ": Esc on the main window's tab control";
    EXPECT_EQ(main.pageClass, c.className);
    ASSERT_EQ(main.outcomes.size(), std::size(kKeys)) << c.className;
    for (std::size_t i = 0; i < std::size(kKeys); ++i) {
      EXPECT_EQ(main.outcomes[i], kKeys[i].outcome) << c.className << ": " << kKeys[i].name;
    }
  }
}

}  // namespace
