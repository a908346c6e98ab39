#include "BenchProcess.h"

#include <cstdio>

#include "Text.h"
#include "WindowQuery.h"

namespace bench {

namespace {

constexpr wchar_t kMainCaption[] = L"Hardware Setup V2.3";
constexpr DWORD kStartTimeout = 60000;
constexpr DWORD kEndTimeout = 10000;
// Each poll asks Wine's server, which the starting program needs too: often
// enough to time a start well, seldom enough not to slow it.
constexpr DWORD kPollMilliseconds = 2;

DWORD ProcessOf(HWND window) {
  DWORD id = 0;
  GetWindowThreadProcessId(window, &id);
  return id;
}

}  // namespace

double MillisecondsSince(const LARGE_INTEGER& start) {
  LARGE_INTEGER now;
  LARGE_INTEGER frequency;
  QueryPerformanceCounter(&now);
  QueryPerformanceFrequency(&frequency);
  return 1000.0 * static_cast<double>(now.QuadPart - start.QuadPart) /
         static_cast<double>(frequency.QuadPart);
}

BenchProcess::BenchProcess(const std::filesystem::path& exe,
                           const std::filesystem::path& terminal) {
  // Inherited by the child: both programs run with the same environment.
  SetEnvironmentVariableW(L"HWSETUP_TERMINAL", terminal.c_str());
  std::wstring commandLine = L"\"" + exe.wstring() + L"\"";
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  QueryPerformanceCounter(&start_);
  if (!CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &startup, &process_)) {
    std::fprintf(stderr, "bench: cannot start %s: error %lu\n", e2e::Utf8(exe.wstring()).c_str(),
                 GetLastError());
    process_ = {};
  }
}

BenchProcess::~BenchProcess() {
  if (process_.hProcess == nullptr) return;
  if (WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT) {
    TerminateProcess(process_.hProcess, 255);
    WaitForSingleObject(process_.hProcess, kEndTimeout);
  }
  CloseHandle(process_.hThread);
  CloseHandle(process_.hProcess);
}

bool BenchProcess::WaitShown() {
  if (process_.hProcess == nullptr) return false;
  const ULONGLONG end = GetTickCount64() + kStartTimeout;
  while (GetTickCount64() < end) {
    for (HWND window = FindWindowExW(nullptr, nullptr, L"#32770", kMainCaption); window != nullptr;
         window = FindWindowExW(nullptr, window, L"#32770", kMainCaption)) {
      if (ProcessOf(window) == process_.dwProcessId && IsWindowVisible(window)) {
        shownMilliseconds_ = MillisecondsSince(start_);
        main_ = window;
        return true;
      }
    }
    if (WaitForSingleObject(process_.hProcess, kPollMilliseconds) == WAIT_OBJECT_0) break;
  }
  std::fprintf(stderr, "bench: the program ended or timed out before showing its window\n");
  return false;
}

bool BenchProcess::WaitIdle() const {
  return process_.hProcess != nullptr && WaitForInputIdle(process_.hProcess, kStartTimeout) == 0;
}

HWND BenchProcess::Page(int number) const {
  for (HWND window : e2e::TopLevelWindowsOf(process_.dwProcessId)) {
    if (window != main_ && e2e::PageNumberOf(window) == number) return window;
  }
  return nullptr;
}

void BenchProcess::Close() {
  if (main_ != nullptr) PostMessageW(main_, WM_COMMAND, IDCANCEL, 0);
  if (process_.hProcess != nullptr) WaitForSingleObject(process_.hProcess, kEndTimeout);
}

}  // namespace bench
