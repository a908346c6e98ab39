#include "ToolProcess.h"

#include <commctrl.h>

#include <cwctype>

#include "Text.h"
#include "WindowQuery.h"

namespace e2e {
namespace {

const std::string kMainCaption = "Hardware Setup V2.3";

bool NameIs(const wchar_t* entry, const std::wstring& name) {
  std::wstring key;
  for (const wchar_t* c = entry; *c != L'\0' && *c != L'='; ++c) key += std::towupper(*c);
  return key == name;
}

// This process's environment with HWSETUP_TERMINAL and WINEDEBUG replaced.
std::wstring ChildEnvironment(const LaunchOptions& options) {
  std::wstring block;
  wchar_t* own = GetEnvironmentStringsW();
  for (const wchar_t* entry = own; *entry != L'\0'; entry += wcslen(entry) + 1) {
    if (NameIs(entry, L"HWSETUP_TERMINAL") || NameIs(entry, L"WINEDEBUG")) continue;
    block += entry;
    block += L'\0';
  }
  FreeEnvironmentStringsW(own);
  if (options.terminal) {
    block += L"HWSETUP_TERMINAL=" + options.terminal->wstring();
    block += L'\0';
  }
  block += L"WINEDEBUG=" + Wide(options.winedebug);
  block += L'\0';
  block += L'\0';
  return block;
}

}  // namespace

ToolProcess::ToolProcess(const Where& where, const LaunchOptions& options) {
  std::wstring environment = ChildEnvironment(options);
  std::wstring commandLine = L"\"" + options.exe.wstring() + L"\"";
  if (!options.arguments.empty()) commandLine += L" " + options.arguments;
  std::wstring workDir = options.workDir.wstring();
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  if (!CreateProcessW(options.exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE,
                      CREATE_UNICODE_ENVIRONMENT, environment.data(), workDir.c_str(), &startup,
                      &process_)) {
    E2E_FAIL_AT(where) << "cannot start " << Utf8(options.exe.wstring()) << ": error "
                       << GetLastError();
    process_ = {};
  }
}

ToolProcess::~ToolProcess() {
  if (!Started()) return;
  if (WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT) {
    TerminateProcess(process_.hProcess, 255);
    WaitForSingleObject(process_.hProcess, kStepTimeout);
  }
  CloseHandle(process_.hThread);
  CloseHandle(process_.hProcess);
}

std::vector<HWND> ToolProcess::Windows() const {
  return Started() ? TopLevelWindowsOf(process_.dwProcessId) : std::vector<HWND>{};
}

HWND ToolProcess::FindMainWindow() const {
  if (main_ != nullptr && IsWindow(main_)) return main_;
  main_ = nullptr;
  for (HWND window : Windows()) {
    if (ClassOf(window) == "#32770" && TextOf(window) == kMainCaption) main_ = window;
  }
  return main_;
}

HWND ToolProcess::WaitMainWindowShown(const Where& where) {
  if (!Started()) return nullptr;
  bool exited = false;
  bool shown = PollUntil(
      [&] {
        exited = WaitForSingleObject(process_.hProcess, 0) == WAIT_OBJECT_0;
        HWND main = FindMainWindow();
        return exited || (main != nullptr && IsWindowVisible(main));
      },
      kStartTimeout);
  if (exited) {
    DWORD code = 0;
    GetExitCodeProcess(process_.hProcess, &code);
    E2E_FAIL_AT(where) << "the tool ended (exit code " << code << ") before showing \""
                       << kMainCaption << "\"";
    return nullptr;
  }
  if (!shown) {
    E2E_FAIL_AT(where) << "timed out after " << kStartTimeout << " ms awaiting the shown window \""
                       << kMainCaption << "\" of process " << process_.dwProcessId;
    return nullptr;
  }
  Sync(where, main_);
  return main_;
}

HWND ToolProcess::Tab() const {
  HWND main = FindMainWindow();
  return main != nullptr ? GetDlgItem(main, 1008) : nullptr;
}

HWND ToolProcess::Page(int number) const {
  for (HWND window : Windows()) {
    if (window != main_ && PageNumberOf(window) == number) return window;
  }
  return nullptr;
}

std::vector<HWND> ToolProcess::MessageBoxes() const {
  std::vector<HWND> boxes;
  for (HWND window : Windows()) {
    if (IsMessageBox(window)) boxes.push_back(window);
  }
  return boxes;
}

HWND ToolProcess::WaitMessageBox(const Where& where, const std::string& awaited) {
  HWND box = nullptr;
  bool exited = false;
  PollUntil(
      [&] {
        exited = WaitForSingleObject(process_.hProcess, 0) == WAIT_OBJECT_0;
        std::vector<HWND> boxes = MessageBoxes();
        if (!boxes.empty() && IsWindowVisible(boxes.front())) box = boxes.front();
        return box != nullptr || exited;
      },
      kStepTimeout);
  if (box == nullptr) {
    E2E_FAIL_AT(where) << (exited ? "the tool ended" : "timed out") << " awaiting " << awaited;
  }
  return box;
}

void ToolProcess::PressOk(const Where& where, HWND box) {
  PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(box, IDOK)));
  if (!PollUntil([&] { return !IsWindow(box); }, kStepTimeout)) {
    E2E_FAIL_AT(where) << "timed out awaiting the message box \"" << TextOf(box)
                       << "\" to close after OK";
  }
}

bool ToolProcess::Sync(const Where& where, HWND window) {
  DWORD_PTR result = 0;
  if (SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, kStepTimeout, &result) == 0) {
    E2E_FAIL_AT(where) << "the tool did not answer WM_NULL within " << kStepTimeout << " ms (error "
                       << GetLastError() << ")";
    return false;
  }
  return true;
}

void ToolProcess::SelectTab(const Where& where, int index) {
  HWND tab = Tab();
  if (tab == nullptr) {
    E2E_FAIL_AT(where) << "no tab control 1008 to select tab " << index << " on";
    return;
  }
  DWORD_PTR result = 0;
  if (SendMessageTimeoutW(tab, TCM_SETCURFOCUS, static_cast<WPARAM>(index), 0, SMTO_NORMAL,
                          kStepTimeout, &result) == 0) {
    E2E_FAIL_AT(where) << "TCM_SETCURFOCUS " << index << " timed out";
  }
  Sync(where, FindMainWindow());
}

void ToolProcess::PostCommand(const Where& where, WPARAM command) {
  HWND main = FindMainWindow();
  if (main == nullptr || !PostMessageW(main, WM_COMMAND, command, 0)) {
    E2E_FAIL_AT(where) << "cannot post command " << command << " to the main window";
  }
}

std::optional<DWORD> ToolProcess::WaitExit(const Where& where, DWORD timeout) {
  if (!Started()) return std::nullopt;
  if (WaitForSingleObject(process_.hProcess, timeout) != WAIT_OBJECT_0) {
    E2E_FAIL_AT(where) << "timed out after " << timeout << " ms awaiting the end of the tool";
    return std::nullopt;
  }
  DWORD code = 0;
  GetExitCodeProcess(process_.hProcess, &code);
  return code;
}

}  // namespace e2e
