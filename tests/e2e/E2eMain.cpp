// The end-to-end driver. Run by the ctest script with the paths it needs:
//   driver.exe --template DIR --simulator EXE --device EXE --work DIR
//              --wine-stderr FILE --cold-boot SCRIPT [gtest flags]
// and by scripts/run-terminal to steer a tool that is already running:
//   driver.exe --show-page N   settle the window at the origin, select tab N
//                              (1 or 2) and print the screen area of the
//                              window and its page as WxH+X+Y
//   driver.exe --press M=C     press the button captioned C of module M
//                              ("WiFi=muRate 8XQF"), as the pages and the
//                              catalogue name them, or the one button whose
//                              code the page labels C ("WiFi=muRata 8XQF"),
//                              and wait until the page has handled the click;
//                              a press that names none lists the choices
//   driver.exe --close         end the tool with OK
#include <gtest/gtest.h>
#include <windows.h>
// After <windows.h>, which they need.
#include <commctrl.h>
#include <shellapi.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <string>
#include <vector>

#include "Catalogue.h"
#include "Config.h"
#include "Text.h"
#include "ToolProcess.h"
#include "WindowQuery.h"

namespace e2e {

Config& MutableConfig() {
  static Config config;
  return config;
}

const Config& TheConfig() {
  return MutableConfig();
}

namespace {

HWND AwaitRunningTool() {
  HWND main = nullptr;
  PollUntil(
      [&] {
        main = FindWindowW(L"#32770", L"Hardware Setup V2.3");
        return main != nullptr && IsWindowVisible(main);
      },
      kStartTimeout);
  if (main == nullptr) std::fprintf(stderr, "driver: no \"Hardware Setup V2.3\" window\n");
  return main;
}

std::vector<HWND> ToolWindows(HWND main) {
  DWORD processId = 0;
  GetWindowThreadProcessId(main, &processId);
  return TopLevelWindowsOf(processId);
}

// Brings the window to the screen's origin the way a technician does, by
// dragging it there: the settle timer then makes it topmost 1.5 s later.
// Only then do the pages, which stand at fixed screen places, sit over the tab.
void SettleAtOrigin(HWND main) {
  auto settled = [&] {
    if (WindowRect(main).left != 0 || WindowRect(main).top != 0) return false;
    for (HWND window : ToolWindows(main)) {
      if (IsTopmost(window)) return true;
    }
    return false;
  };
  if (settled()) return;
  SetWindowPos(main, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  PollUntil(settled, 4000);
}

int ShowPage(int number) {
  HWND main = AwaitRunningTool();
  if (main == nullptr) return 1;
  SettleAtOrigin(main);
  // Through the other tab, so the page is shown afresh, in front of the tab.
  HWND tab = GetDlgItem(main, 1008);
  DWORD_PTR result = 0;
  for (int index : {number == 1 ? 1 : 0, number - 1}) {
    SendMessageTimeoutW(tab, TCM_SETCURFOCUS, static_cast<WPARAM>(index), 0, SMTO_NORMAL,
                        kStepTimeout, &result);
  }
  HWND page = nullptr;
  for (HWND window : ToolWindows(main)) {
    if (PageNumberOf(window) == number && IsWindowVisible(window)) page = window;
  }
  RECT area = WindowRect(main);
  if (page != nullptr) {
    RedrawWindow(page, nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    RECT pageRect = WindowRect(page);
    UnionRect(&area, &area, &pageRect);
  } else {
    std::fprintf(stderr, "driver: page %d has no window\n", number);
  }
  SendMessageTimeoutW(main, WM_NULL, 0, 0, SMTO_NORMAL, kStepTimeout, &result);
  area.left = std::max(0L, area.left);
  area.top = std::max(0L, area.top);
  std::printf("%ldx%ld+%ld+%ld\n", area.right - area.left, area.bottom - area.top, area.left,
              area.top);
  return page != nullptr ? 0 : 1;
}

bool SameWords(std::string a, std::string b) {
  auto fold = [](std::string& s) {
    s.erase(0, s.find_first_not_of(' '));
    s.erase(s.find_last_not_of(' ') + 1);
    for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  };
  fold(a);
  fold(b);
  return a == b;
}

// The visible button a "Module=Caption" press names: by its caption, or by
// the label the page shows for the module's cell when one button writes it.
// Null when none does.
const ButtonRow* ButtonNamed(const std::string& press) {
  const std::size_t equals = press.find('=');
  if (equals == std::string::npos) return nullptr;
  const std::string name = press.substr(equals + 1);
  for (const CellEntry& cell : Cells()) {
    if (!SameWords(cell.module, press.substr(0, equals))) continue;
    std::vector<const ButtonRow*> byLabel;
    for (const ButtonRow& button : Buttons()) {
      if (button.cell != cell.address || !button.visible) continue;
      if (SameWords(button.caption, name)) return &button;
      if (SameWords(LabelOf(cell, button.code), name)) byLabel.push_back(&button);
    }
    if (byLabel.size() == 1) return byLabel.front();
  }
  return nullptr;
}

// What a press may name: the buttons of the module it names, or of every
// module when it names none, each with the page's label when that differs.
void PrintChoices(const std::string& press) {
  const std::string module = press.substr(0, press.find('='));
  bool known = false;
  for (const CellEntry& cell : Cells()) known = known || SameWords(cell.module, module);
  std::fprintf(stderr, "driver: the buttons %s:\n", known ? "of that module" : "there are");
  for (const CellEntry& cell : Cells()) {
    if (known && !SameWords(cell.module, module)) continue;
    for (const ButtonRow& button : Buttons()) {
      if (button.cell != cell.address || !button.visible) continue;
      const std::string label = LabelOf(cell, button.code);
      const std::string shown =
          SameWords(label, button.caption) ? "" : " (the page's label: " + label + ")";
      std::fprintf(stderr, "  %s=%s%s\n", cell.module.c_str(), button.caption.c_str(),
                   shown.c_str());
    }
  }
}

// A technician's tap on the button: its tab selected, then the click sent to
// its page, which answers once the press is done.
int PressButton(const std::string& press) {
  const ButtonRow* button = ButtonNamed(press);
  if (button == nullptr) {
    std::fprintf(
        stderr,
        "driver: no button \"%s\" (MODULE=CAPTION or MODULE=LABEL, as the pages show them)\n",
        press.c_str());
    PrintChoices(press);
    return 2;
  }
  HWND main = AwaitRunningTool();
  if (main == nullptr) return 1;
  DWORD_PTR result = 0;
  SendMessageTimeoutW(GetDlgItem(main, 1008), TCM_SETCURFOCUS,
                      static_cast<WPARAM>(button->page - 1), 0, SMTO_NORMAL, kStepTimeout, &result);
  HWND page = nullptr;
  for (HWND window : ToolWindows(main)) {
    if (PageNumberOf(window) == button->page) page = window;
  }
  if (page == nullptr || SendMessageTimeoutW(page, WM_COMMAND, MAKEWPARAM(button->id, BN_CLICKED),
                                             reinterpret_cast<LPARAM>(GetDlgItem(page, button->id)),
                                             SMTO_NORMAL, kStepTimeout, &result) == 0) {
    std::fprintf(stderr, "driver: the press \"%s\" was not handled within %lu ms\n", press.c_str(),
                 static_cast<unsigned long>(kStepTimeout));
    return 1;
  }
  std::printf("driver: pressed %s\n", press.c_str());
  return 0;
}

int CloseTool() {
  HWND main = AwaitRunningTool();
  if (main == nullptr) return 1;
  PostMessageW(main, WM_COMMAND, IDOK, 0);
  return PollUntil([&] { return !IsWindow(main); }, kStepTimeout) ? 0 : 1;
}

bool Missing(const std::filesystem::path& path, const char* what) {
  if (!path.empty() && std::filesystem::exists(path)) return false;
  std::fprintf(stderr, "driver: %s not found: %s\n", what, Utf8(path.wstring()).c_str());
  return true;
}

}  // namespace
}  // namespace e2e

int main(int argc, char** argv) {
  using namespace e2e;
  int count = 0;
  LPWSTR* wide = CommandLineToArgvW(GetCommandLineW(), &count);
  std::vector<std::string> args;
  for (int i = 0; i < count; ++i) args.push_back(Utf8(wide[i]));
  LocalFree(wide);

  Config& config = MutableConfig();
  std::vector<char*> rest{argv[0]};
  for (std::size_t i = 1; i < args.size(); ++i) {
    const std::string& arg = args[i];
    const bool hasValue = i + 1 < args.size();
    if (arg == "--show-page" && hasValue) return ShowPage(std::stoi(args[i + 1]));
    if (arg == "--press" && hasValue) return PressButton(args[i + 1]);
    if (arg == "--close") return CloseTool();
    if (arg == "--template" && hasValue) {
      config.templateTerminal = WindowsPath(args[++i]);
    } else if (arg == "--simulator" && hasValue) {
      config.simulatorExe = WindowsPath(args[++i]);
    } else if (arg == "--device" && hasValue) {
      config.deviceExe = WindowsPath(args[++i]);
    } else if (arg == "--work" && hasValue) {
      config.workDir = WindowsPath(args[++i]);
    } else if (arg == "--wine-stderr" && hasValue) {
      config.wineStderr = WindowsPath(args[++i]);
    } else if (arg == "--cold-boot" && hasValue) {
      config.coldBoot = WindowsPath(args[++i]);
    } else if (static_cast<int>(i) < argc) {
      rest.push_back(argv[i]);
    }
  }
  if (Missing(config.templateTerminal, "template terminal") ||
      Missing(config.simulatorExe, "simulator HWSetup.exe") ||
      Missing(config.deviceExe, "device HWSetup.exe") || Missing(config.workDir, "work folder") ||
      Missing(config.wineStderr, "Wine standard error file") ||
      Missing(config.coldBoot, "scripts/cold-boot")) {
    return 2;
  }
  int restCount = static_cast<int>(rest.size());
  testing::InitGoogleTest(&restCount, rest.data());
  return RUN_ALL_TESTS();
}
