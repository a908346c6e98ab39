// The framework's dialog: modal and modeless runs, message tables, binding.
// The probes stand on page one's template without page one's behaviour.
#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "UiTesting.h"
#include "framework/App.h"
#include "framework/Dialog.h"
#include "framework/Static.h"
#include "ui/Page1Res.h"

namespace {

constexpr UINT kStep = WM_APP + 1;
constexpr UINT kBaseMessage = WM_APP + 2;
constexpr int kSelChange = -551;

WPARAM Click(int id, int code = BN_CLICKED) {
  return MAKEWPARAM(id, code);
}

// The middle of a chain: rows that the probe inherits or shadows.
class BaseProbe : public fw::Dialog {
 public:
  BaseProbe() : fw::Dialog(IDD_PAGE1) {}
  std::vector<std::string> calls;

 protected:
  const fw::MessageTable& GetMessageTable() const override { return kTable; }
  bool Record(const char* what) {
    calls.push_back(what);
    return true;
  }

 private:
  bool OnSimple(WPARAM, LPARAM) { return Record("base: Simple"); }
  bool OnAllFunc(WPARAM, LPARAM) { return Record("base: All Func"); }
  bool OnMessage(WPARAM, LPARAM) { return Record("base: its message"); }

  static constexpr fw::MessageRow kRows[] = {
      {WM_COMMAND, BN_CLICKED, IDC_KEYPAD_SIMPLE, &fw::Call<BaseProbe, &BaseProbe::OnSimple>},
      {WM_COMMAND, BN_CLICKED, IDC_KEYPAD_ALL_FUNC, &fw::Call<BaseProbe, &BaseProbe::OnAllFunc>},
      {kBaseMessage, 0, 0, &fw::Call<BaseProbe, &BaseProbe::OnMessage>},
  };

 protected:
  static constexpr fw::MessageTable kTable = {kRows, std::size(kRows), &fw::Dialog::kMessageTable};
};

class Probe final : public BaseProbe {
 public:
  ~Probe() override = default;

  fw::Static keypad;
  int exchanges = 0;
  bool exchangeSucceeds = true;
  bool endInInit = false;
  WPARAM stepCommand = 0;  // posted from inside the modal loop, when set
  bool visibleAtStep = false;

 protected:
  const fw::MessageTable& GetMessageTable() const override { return kTable; }
  bool DoDataExchange() override {
    ++exchanges;
    return Bind(IDC_KEYPAD_LABEL, keypad) && exchangeSucceeds;
  }
  bool OnInitDialog() override {
    fw::Dialog::OnInitDialog();
    if (endInInit) EndDialog(IDCANCEL);
    if (stepCommand != 0) ::PostMessageW(hwnd(), kStep, 0, 0);
    return !endInInit;
  }

 private:
  bool OnStep(WPARAM, LPARAM) {
    visibleAtStep = ::IsWindowVisible(hwnd()) != FALSE;
    ::PostMessageW(hwnd(), WM_COMMAND, stepCommand, 0);
    return true;
  }
  bool OnAllFunc(WPARAM, LPARAM) {
    EndDialog(77);
    return Record("probe: All Func");
  }
  bool OnNotify(WPARAM, LPARAM) {
    SetMessageResult(1234);
    return Record("probe: notified");
  }
  // Declines: the window system's default then sets the text.
  bool OnSetText(WPARAM, LPARAM) {
    Record("probe: text set");
    return false;
  }

  static constexpr fw::MessageRow kRows[] = {
      {kStep, 0, 0, &fw::Call<Probe, &Probe::OnStep>},
      {WM_COMMAND, BN_CLICKED, IDC_KEYPAD_ALL_FUNC, &fw::Call<Probe, &Probe::OnAllFunc>},
      {WM_NOTIFY, kSelChange, IDC_KEYPAD_TURKEY, &fw::Call<Probe, &Probe::OnNotify>},
      {WM_SETTEXT, 0, 0, &fw::Call<Probe, &Probe::OnSetText>},
  };
  static constexpr fw::MessageTable kTable = {kRows, std::size(kRows), &BaseProbe::kTable};
};

TEST(DialogModalRun, ReturnsTheResultOfTheCommandPostedFromInsideItsLoop) {
  const struct {
    const char* name;
    WPARAM command;
    INT_PTR result;
    int exchanges;
  } cases[] = {
      {"OK exchanges again, then ends with IDOK", Click(IDOK), IDOK, 2},
      {"Cancel ends with IDCANCEL", Click(IDCANCEL), IDCANCEL, 1},
      {"a row ends it with its own result", Click(IDC_KEYPAD_ALL_FUNC), 77, 1},
  };
  for (const auto& c : cases) {
    Probe probe;
    probe.stepCommand = c.command;
    EXPECT_EQ(probe.DoModal(), c.result) << c.name;
    EXPECT_EQ(probe.exchanges, c.exchanges) << c.name;
    EXPECT_TRUE(probe.visibleAtStep) << c.name << ": the step ran inside the loop";
    EXPECT_EQ(probe.hwnd(), nullptr) << c.name;
  }
  fw::Dialog missing(9999);
  EXPECT_EQ(missing.DoModal(), -1) << "a missing template";
}

TEST(DialogModeless, ThatEndsItselfWhileInitialisingReportsFailureAndLeavesNoWindow) {
  Probe probe;
  probe.endInInit = true;
  EXPECT_FALSE(probe.Create(nullptr));
  EXPECT_EQ(probe.hwnd(), nullptr);
  EXPECT_EQ(probe.Result(), IDCANCEL);
  EXPECT_TRUE(uitest::OwnedDialogs(nullptr).empty());
}

// A modeless dialog ends as the window system ends one: hidden, with its
// window and its state, until its object goes.
TEST(DialogModeless, EndsHiddenAndKeepsItsWindowUntilItsObjectGoes) {
  for (const WPARAM command : {Click(IDOK), Click(IDCANCEL)}) {
    auto probe = std::make_unique<Probe>();
    ASSERT_TRUE(probe->Create(nullptr));
    const HWND window = probe->hwnd();
    static_cast<hw::Label&>(probe->keypad).SetText(L"Turkey");
    EXPECT_TRUE(::IsWindowVisible(window));
    ::SendMessageW(window, WM_COMMAND, command, 0);
    EXPECT_FALSE(::IsWindowVisible(window)) << "hidden";
    EXPECT_EQ(probe->hwnd(), window) << "kept";
    EXPECT_EQ(probe->Result(), LOWORD(command));
    probe->Show(SW_SHOWNORMAL);
    EXPECT_TRUE(::IsWindowVisible(window)) << "shown again";
    EXPECT_EQ(uitest::TextOf(probe->keypad.hwnd()), L"Turkey") << "with its state";
    probe.reset();
    EXPECT_FALSE(::IsWindow(window)) << "destroyed with its object";
  }
}

// What the dialog still held when the desktop's WM_NCDESTROY came: a
// subclass sees it before the dialog's own procedure does.
struct LetGoWatch {
  WNDPROC original = nullptr;
  const fw::Dialog* dialog = nullptr;
  bool seen = false;
  HWND handle = nullptr;
  LONG_PTR userSlot = 0;
  fw::Window* mainWindow = nullptr;
} letGo;

LRESULT CALLBACK WatchNcDestroy(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCDESTROY) {
    letGo.seen = true;
    letGo.handle = letGo.dialog->hwnd();
    letGo.userSlot = ::GetWindowLongPtrW(window, DWLP_USER);
    letGo.mainWindow = fw::App::Current()->MainWindow();
  }
  return ::CallWindowProcW(letGo.original, window, message, wParam, lParam);
}

// Windows CE sends no WM_NCDESTROY, so all of it happens on WM_DESTROY.
TEST(DialogWindow, IsLetGoOfOnWmDestroy) {
  fw::App app;
  Probe probe;
  ASSERT_TRUE(probe.Create(nullptr));
  app.SetMainWindow(&probe);
  const HWND window = probe.hwnd();
  letGo = LetGoWatch();
  letGo.dialog = &probe;
  letGo.original = reinterpret_cast<WNDPROC>(::SetWindowLongPtrW(
      window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&WatchNcDestroy)));
  ::DestroyWindow(window);
  ASSERT_TRUE(letGo.seen);
  EXPECT_EQ(letGo.handle, nullptr) << "the object's handle";
  EXPECT_EQ(letGo.userSlot, 0) << "the window's user slot";
  EXPECT_EQ(letGo.mainWindow, nullptr) << "the main-window registration";
}

TEST(DialogMessageTable, DispatchesByMessageCodeAndIdAndChainsToTheBase) {
  const struct {
    const char* name;
    UINT message;
    int code;
    int id;
    std::vector<std::string> calls;
  } cases[] = {
      {"a row shadows its base's",
       WM_COMMAND,
       BN_CLICKED,
       IDC_KEYPAD_ALL_FUNC,
       {"probe: All Func"}},
      {"a row of the base", WM_COMMAND, BN_CLICKED, IDC_KEYPAD_SIMPLE, {"base: Simple"}},
      {"another code", WM_COMMAND, BN_DOUBLECLICKED, IDC_KEYPAD_SIMPLE, {}},
      {"another id", WM_COMMAND, BN_CLICKED, IDC_KEYPAD_TURKEY, {}},
      {"a plain message of the base", kBaseMessage, 0, 0, {"base: its message"}},
      {"a notification", WM_NOTIFY, kSelChange, IDC_KEYPAD_TURKEY, {"probe: notified"}},
      {"a notification of another control", WM_NOTIFY, kSelChange, IDC_KEYPAD_SIMPLE, {}},
      {"another notification", WM_NOTIFY, kSelChange - 1, IDC_KEYPAD_TURKEY, {}},
  };
  for (const auto& c : cases) {
    Probe probe;
    ASSERT_TRUE(probe.Create(nullptr));
    if (c.message == WM_NOTIFY) {
      NMHDR header = {nullptr, static_cast<UINT_PTR>(c.id), static_cast<UINT>(c.code)};
      const LRESULT result =
          ::SendMessageW(probe.hwnd(), WM_NOTIFY, c.id, reinterpret_cast<LPARAM>(&header));
      EXPECT_EQ(result, c.calls.empty() ? 0 : 1234) << c.name << ": the notification's result";
    } else {
      ::SendMessageW(probe.hwnd(), c.message, MAKEWPARAM(c.id, c.code), 0);
    }
    EXPECT_EQ(probe.calls, c.calls) << c.name;
  }
}

TEST(DialogMessageTable, ARowThatDeclinesLeavesTheMessageToTheDefault) {
  Probe probe;
  ASSERT_TRUE(probe.Create(nullptr));
  ::SetWindowTextW(probe.hwnd(), L"renamed");
  EXPECT_EQ(probe.calls, std::vector<std::string>{"probe: text set"});
  EXPECT_EQ(uitest::TextOf(probe.hwnd()), L"renamed");
}

TEST(DialogBinding, AttachesTheControlBeforeInitialisationGoesOn) {
  Probe probe;
  ASSERT_TRUE(probe.Create(nullptr));
  EXPECT_EQ(probe.exchanges, 1);
  ASSERT_EQ(probe.keypad.hwnd(), ::GetDlgItem(probe.hwnd(), IDC_KEYPAD_LABEL));
  EXPECT_EQ(uitest::TextOf(probe.keypad.hwnd()), L"Unknown");
  static_cast<hw::Label&>(probe.keypad).SetText(L"Turkey");
  EXPECT_EQ(uitest::TextOf(::GetDlgItem(probe.hwnd(), IDC_KEYPAD_LABEL)), L"Turkey");
}

TEST(DialogBinding, WhenTheExchangeFailsOKKeepsTheDialog) {
  Probe probe;
  probe.exchangeSucceeds = false;
  ASSERT_TRUE(probe.Create(nullptr));
  ::SendMessageW(probe.hwnd(), WM_COMMAND, Click(IDOK), 0);
  EXPECT_EQ(probe.exchanges, 2);
  EXPECT_TRUE(probe.IsWindow());
}

}  // namespace
