#pragma once

#include <windows.h>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "Where.h"

namespace e2e {

// Bounds of the waits, in milliseconds. Generous: they only matter when the
// awaited thing never comes, and then the wait is a failure saying what.
inline constexpr DWORD kStartTimeout = 30000;
inline constexpr DWORD kStepTimeout = 10000;

struct LaunchOptions {
  std::filesystem::path exe;
  std::filesystem::path workDir;                  // the child's current folder
  std::optional<std::filesystem::path> terminal;  // HWSETUP_TERMINAL; unset when empty
  std::string winedebug = "-all";                 // the child's WINEDEBUG
  std::wstring arguments;                         // after the program's name
};

// The real HWSetup.exe, started as a separate process and driven from outside.
// Destroying it ends a process that is still running.
class ToolProcess {
 public:
  ToolProcess(const Where& where, const LaunchOptions& options);
  ~ToolProcess();
  ToolProcess(const ToolProcess&) = delete;
  ToolProcess& operator=(const ToolProcess&) = delete;

  bool Started() const { return process_.hProcess != nullptr; }
  HANDLE Process() const { return process_.hProcess; }
  DWORD ProcessId() const { return process_.dwProcessId; }
  DWORD MainThreadId() const { return process_.dwThreadId; }

  std::vector<HWND> Windows() const;
  // "Hardware Setup V2.3" of this process, visible or not; null when absent.
  HWND FindMainWindow() const;
  // Waits until the main window is shown: the start, pages included, is over.
  HWND WaitMainWindowShown(const Where& where);
  HWND Tab() const;  // control 1008 of the main window
  // The window of module page 1 or 2; null when the page has none.
  HWND Page(int number) const;
  std::vector<HWND> MessageBoxes() const;

  HWND WaitMessageBox(const Where& where, const std::string& awaited);
  // Presses OK of a message box and waits until the box is gone.
  void PressOk(const Where& where, HWND box);
  // Returns once `window`'s thread has handled everything sent before: a
  // round trip of WM_NULL.
  bool Sync(const Where& where, HWND window);

  // Selects a tab the way a click does: TCM_SETCURFOCUS, which notifies the
  // main window of the change.
  void SelectTab(const Where& where, int index);

  // Posts a command to the main window (IDOK, IDCANCEL).
  void PostCommand(const Where& where, WPARAM command);
  // Waits for the end of the process; its exit code, or nothing on timeout.
  std::optional<DWORD> WaitExit(const Where& where, DWORD timeout = kStepTimeout);

 private:
  PROCESS_INFORMATION process_{};
  mutable HWND main_ = nullptr;
};

// Polls `done` every few milliseconds until it holds or `timeout` passes.
template <typename Done>
bool PollUntil(Done done, DWORD timeout) {
  const ULONGLONG end = GetTickCount64() + timeout;
  for (;;) {
    if (done()) return true;
    if (GetTickCount64() >= end) return false;
    Sleep(15);
  }
}

}  // namespace e2e
