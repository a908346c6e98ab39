#pragma once

#include <windows.h>

#include <filesystem>

namespace bench {

// One run of a program that shows "Hardware Setup V2.3" (the tool or its
// start-up peer), started as a separate process with the environment of this
// one and HWSETUP_TERMINAL set, and timed from the start to the shown window.
// Destroying it ends the program.
class BenchProcess {
 public:
  BenchProcess(const std::filesystem::path& exe, const std::filesystem::path& terminal);
  ~BenchProcess();
  BenchProcess(const BenchProcess&) = delete;
  BenchProcess& operator=(const BenchProcess&) = delete;

  // Waits until the main window is visible; false when the program ended or
  // the wait timed out first.
  bool WaitShown();
  // Milliseconds from just before CreateProcess to the first poll that saw the
  // window visible. The poll runs every 2 ms.
  double ShownMilliseconds() const { return shownMilliseconds_; }
  // Waits until the program has done what its start left to do and waits for
  // input, as a window a technician is about to press on has.
  bool WaitIdle() const;
  HWND Main() const { return main_; }
  // Module page 1 or 2, told by its controls; null when it has none.
  HWND Page(int number) const;
  // Ends the program with IDCANCEL and waits for the end.
  void Close();

 private:
  PROCESS_INFORMATION process_{};
  LARGE_INTEGER start_{};
  HWND main_ = nullptr;
  double shownMilliseconds_ = 0;
};

double MillisecondsSince(const LARGE_INTEGER& start);

}  // namespace bench
