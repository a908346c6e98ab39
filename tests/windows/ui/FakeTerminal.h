#pragma once

#include <array>
#include <string>
#include <vector>

#include "platform/Platform.h"

// An EEPROM of 256 cells behind "EOM1:", configuration files that always
// copy, and no registry keys: the registry steps fail silently.
class FakeTerminal final : public hw::Platform {
 public:
  std::array<hw::UInt8, 256> eeprom{};
  int workingOpens = 1000;  // "EOM1:" opens that succeed; later ones fail
  std::vector<std::wstring> trace;

  hw::Handle CreateFile(const wchar_t* name, hw::UInt32, hw::UInt32, const void*,
                        hw::UInt32, hw::UInt32, hw::Handle) override {
    if (std::wstring(name) != L"EOM1:") return 2;
    return workingOpens-- > 0 ? 1 : hw::kInvalidHandleValue;
  }
  int DeviceIoControl(hw::Handle, hw::UInt32 code, const void* in, hw::UInt32, void* out,
                      hw::UInt32, hw::UInt32*, void*) override {
    const auto* request = static_cast<const hw::UInt8*>(in);
    if (code == 2) *static_cast<hw::UInt8*>(out) = eeprom[request[0]];
    if (code == 1) eeprom[request[0]] = request[1];
    return 1;
  }
  int ReadFile(hw::Handle, void*, hw::UInt32, hw::UInt32* read, void*) override {
    *read = 500;
    return 1;
  }
  int WriteFile(hw::Handle, const void*, hw::UInt32 size, hw::UInt32* written,
                void*) override {
    *written = size;
    return 1;
  }
  int SetFileAttributes(const wchar_t*, hw::UInt32) override { return 1; }
  int DeleteFile(const wchar_t*) override { return 0; }
  int FlushFileBuffers(hw::Handle) override { return 1; }
  int CloseHandle(hw::Handle) override { return 1; }
  long RegOpenKeyEx(hw::RegKey, const wchar_t*, hw::UInt32, hw::UInt32,
                    hw::RegKey*) override {
    return hw::kErrorFileNotFound;
  }
  long RegSetValueEx(hw::RegKey, const wchar_t*, hw::UInt32, hw::UInt32, const hw::UInt8*,
                     hw::UInt32) override {
    return hw::kErrorFileNotFound;
  }
  long RegQueryValueEx(hw::RegKey, const wchar_t*, hw::UInt32*, hw::UInt32*, hw::UInt8*,
                       hw::UInt32*) override {
    return hw::kErrorFileNotFound;
  }
  long RegCloseKey(hw::RegKey) override { return 0; }
  long RegFlushKey(hw::RegKey) override { return 0; }
  hw::UInt32 SetSystemPowerState(const wchar_t*, hw::UInt32, hw::UInt32) override {
    return hw::kErrorNotSupported;
  }
  int CeFsIoControl(const wchar_t*, hw::UInt32, void*, hw::UInt32, void*, hw::UInt32, hw::UInt32*,
                    void*) override {
    return 1;
  }
  void SignalStarted(hw::UInt32) override {}
  int CeGenRandom(hw::UInt32, hw::UInt8*) override { return 0; }
  hw::DriverListResult ListLoadedDrivers(hw::LoadedDriver*, hw::UInt32,
                                         hw::UInt32* count) override {
    *count = 0;
    return hw::kDriverListNotAvailable;
  }
  int KernelIoControl(hw::UInt32, void*, hw::UInt32, void*, hw::UInt32, hw::UInt32*) override {
    return 0;
  }
  void GetLocalTime(hw::SystemTime*) override {}
  void GetSystemTime(hw::SystemTime*) override {}
  hw::UInt32 GetLastError() override { return 0; }
  void Sleep(hw::UInt32) override {}
  void DebugPrintf(const wchar_t* format, hw::UInt32) override { trace.emplace_back(format); }
};

// The one terminal the windows of this program work on: TerminalPlatform()
// answers it. Tests reset it with TheFakeTerminal() = FakeTerminal().
FakeTerminal& TheFakeTerminal();
