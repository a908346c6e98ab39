// The framework's main routine, application object and message boxes.
#include <windows.h>

#include <gtest/gtest.h>

#include "UiTesting.h"
#include "framework/App.h"
#include "framework/Dialog.h"
#include "framework/MessageBox.h"
#include "ui/Page1Res.h"

namespace {

constexpr wchar_t kKey[] = L"应用程序向导生成的本地应用程序";

class TestApp final : public fw::App {
 public:
  ~TestApp() override = default;

  bool initResult = false;
  bool loopRan = false;
  bool mainWindowDropped = false;
  std::wstring nameAtInit;

  bool InitInstance() override {
    nameAtInit = Name();
    SetRegistryKey(kKey);
    fw::Dialog window(IDD_PAGE1);
    window.Create(nullptr);
    SetMainWindow(&window);
    ::DestroyWindow(window.hwnd());
    mainWindowDropped = MainWindow() == nullptr;
    if (initResult) ::PostQuitMessage(5);
    return initResult;
  }
  int Run() override {
    loopRan = true;
    return fw::App::Run();
  }
  int ExitInstance() override { return loopRan ? fw::App::ExitInstance() : 7; }
};

TEST(App, WhoseInitialisationFailsSkipsTheLoopAndReturnsTheExitStep) {
  EXPECT_EQ(fw::RunApp(::GetModuleHandleW(nullptr)), -1) << "no application object yet";
  TestApp app;
  EXPECT_EQ(fw::RunApp(::GetModuleHandleW(nullptr)), 7);
  EXPECT_FALSE(app.loopRan);
  EXPECT_EQ(app.nameAtInit, L"windows_ui_tests");
  EXPECT_TRUE(app.mainWindowDropped) << "dropped when its window was destroyed";
  EXPECT_EQ(std::wstring(app.RegistryKey()), kKey);
  EXPECT_EQ(std::wstring(app.ProfileName()), L"windows_ui_tests");
  HKEY key;
  EXPECT_NE(::RegOpenKeyExW(HKEY_CURRENT_USER, (std::wstring(L"Software\\") + kKey).c_str(), 0,
                            KEY_READ, &key),
            ERROR_SUCCESS)
      << "the settings key is named, never written";
}

TEST(App, WhoseInitialisationSucceedsRunsTheLoopUntilQuit) {
  TestApp app;
  app.initResult = true;
  EXPECT_EQ(fw::RunApp(::GetModuleHandleW(nullptr)), 5);
  EXPECT_TRUE(app.loopRan);
}

TEST(MessageBoxHelper, CaptionIsTheApplicationsNameUnlessGiven) {
  uitest::MessageBoxAnswerer answerer;
  EXPECT_EQ(fw::ShowMessageBox(nullptr, L"first"), IDOK);
  EXPECT_EQ(fw::ShowMessageBox(nullptr, L"second", L"Tip"), IDOK);
  ASSERT_EQ(answerer.boxes().size(), 2u);
  EXPECT_EQ(answerer.boxes()[0].caption, L"windows_ui_tests");
  EXPECT_EQ(answerer.boxes()[0].text, L"first");
  EXPECT_EQ(answerer.boxes()[1].caption, L"Tip");
}

}  // namespace
