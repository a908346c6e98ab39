// The keypad through the framework's modal loop, on the desktop's dialog
// class and on CE's "Dialog": a page placed as the tool places one, a popup
// over the main window's tab control, answers Tab, Space and Esc alike in
// both, and Esc on the main window ends its modal run.
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
constexpr INT_PTR kTimedOut = 99;

// As CE's window system registers its dialog class: the dialog manager's
// window procedure and the dialog's extra bytes.
bool RegisterCeDialogClass() {
  static const bool registered = [] {
    WNDCLASSW dialogClass = {};
    dialogClass.lpfnWndProc = ::DefDlgProcW;
    dialogClass.cbWndExtra = DLGWINDOWEXTRA;
    dialogClass.hInstance = ::GetModuleHandleW(nullptr);
    dialogClass.lpszClassName = L"Dialog";
    return ::RegisterClassW(&dialogClass) != 0;
  }();
  return registered;
}

const struct {
  const char* name;
  int control;  // the page's control that holds the focus when the key comes
  WPARAM key;
  const char* outcome;
} kKeys[] = {
    {"Tab", IDC_KEYPAD_ALL_FUNC, VK_TAB, "focus 1002"},
    {"Space", IDC_KEYPAD_SIMPLE, VK_SPACE, "focus 1002, pressed 1002"},
    {"Esc", IDC_KEYPAD_SIMPLE, VK_ESCAPE, "hidden"},
};

// A key as the window system queues it: to the window with the focus.
void Press(HWND control, WPARAM key) {
  ::SetFocus(control);
  ::PostMessageW(control, WM_KEYDOWN, key, 1);
  ::PostMessageW(control, WM_KEYUP, key, 0xC0000001);
}

class Page final : public fw::Dialog {
 public:
  explicit Page(int templateId) : fw::Dialog(templateId) {}
  std::vector<int> presses;

 protected:
  const fw::MessageTable& GetMessageTable() const override { return kTable; }

 private:
  bool OnPress(WPARAM wParam, LPARAM) {
    presses.push_back(LOWORD(wParam));
    return true;
  }
  static constexpr fw::MessageRow kRows[] = {
      {WM_COMMAND, BN_CLICKED, IDC_KEYPAD_ALL_FUNC, &fw::Call<Page, &Page::OnPress>},
      {WM_COMMAND, BN_CLICKED, IDC_KEYPAD_SIMPLE, &fw::Call<Page, &Page::OnPress>},
  };
  static constexpr fw::MessageTable kTable = {kRows, std::size(kRows), &fw::Dialog::kMessageTable};
};

// Presses the keys of kKeys on its page one by one from inside its modal
// run, noting what each did, then Esc on its tab control.
class MainWindow final : public fw::Dialog {
 public:
  MainWindow(int mainTemplate, int pageTemplate) : fw::Dialog(mainTemplate), page(pageTemplate) {}
  Page page;
  std::vector<std::string> outcomes;
  std::wstring pageClass;

 protected:
  const fw::MessageTable& GetMessageTable() const override { return kTable; }
  bool OnInitDialog() override {
    fw::Dialog::OnInitDialog();
    page.Create(::GetDlgItem(hwnd(), IDC_TAB));
    pageClass = uitest::ClassOf(page.hwnd());
    ::SetTimer(hwnd(), 1, 3000, nullptr);
    ::PostMessageW(hwnd(), kNextKey, 0, 0);
    return true;
  }

 private:
  bool OnNextKey(WPARAM, LPARAM) {
    if (next_ > 0) outcomes.push_back(Outcome());
    if (next_ == std::size(kKeys)) {
      Press(::GetDlgItem(hwnd(), IDC_TAB), VK_ESCAPE);
      return true;
    }
    Press(::GetDlgItem(page.hwnd(), kKeys[next_].control), kKeys[next_].key);
    ++next_;
    ::PostMessageW(hwnd(), kNextKey, 0, 0);
    return true;
  }
  bool OnTimer(WPARAM, LPARAM) {
    EndDialog(kTimedOut);
    return true;
  }
  std::string Outcome() {
    if (!::IsWindowVisible(page.hwnd())) return "hidden";
    std::string seen = "focus " + std::to_string(::GetDlgCtrlID(::GetFocus()));
    for (int id : page.presses) seen += ", pressed " + std::to_string(id);
    page.presses.clear();
    return seen;
  }

  std::size_t next_ = 0;
  static constexpr fw::MessageRow kRows[] = {
      {kNextKey, 0, 0, &fw::Call<MainWindow, &MainWindow::OnNextKey>},
      {WM_TIMER, 0, 0, &fw::Call<MainWindow, &MainWindow::OnTimer>},
  };
  static constexpr fw::MessageTable kTable = {kRows, std::size(kRows), &fw::Dialog::kMessageTable};
};

TEST(KeypadRouting, AnswersOnCesDialogClassAsOnTheDesktops) {
  ASSERT_TRUE(RegisterCeDialogClass());
  fw::TabControl::LoadClass();
  const struct {
    const wchar_t* className;
    int mainTemplate;
    int pageTemplate;
  } classes[] = {
      {L"#32770", IDD_HWSETUP_DIALOG, IDD_PAGE1},
      {L"Dialog", IDD_CE_MAIN, IDD_CE_PAGE},
  };
  for (const auto& c : classes) {
    const std::string name = c.className == std::wstring(L"Dialog") ? "CE's Dialog" : "#32770";
    MainWindow main(c.mainTemplate, c.pageTemplate);
    EXPECT_EQ(main.DoModal(), IDCANCEL) << name << ": Esc on the main window's tab control";
    EXPECT_EQ(main.pageClass, c.className) << name;
    ASSERT_EQ(main.outcomes.size(), std::size(kKeys)) << name;
    for (std::size_t i = 0; i < std::size(kKeys); ++i) {
      EXPECT_EQ(main.outcomes[i], kKeys[i].outcome) << name << ": " << kKeys[i].name;
    }
  }
}

}  // namespace
