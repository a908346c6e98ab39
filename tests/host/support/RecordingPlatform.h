#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "platform/Platform.h"

namespace hw::test {

std::string Utf8(const char16_t* text);
std::string Utf8(const std::u16string& text);

// What a granted reset throws: the run ends there.
struct ResetCame {};

// An in-memory OS that records every call with its arguments as one line,
// e.g. `CreateFile("EOM1:", 0xC0000000, 0x3, null, 3, 0x0, 0)`, and keeps just
// enough state to answer: an EEPROM, files by path, registry keys and values.
// It also checks that every file handle it hands out is closed exactly once.
class RecordingPlatform : public Platform {
 public:
  // Device.
  bool deviceOpens = true;
  bool nullDeviceHandle = false;
  std::array<std::uint8_t, 256> eeprom{};
  std::set<std::uint8_t> failRead, failWrite, readStoresNothing;

  // Files by path. Absent path: open for reading fails. In the writable
  // folders (each with its final '\\'; the root is "\\") files may be
  // created or opened for writing. Writes not yet flushed are kept in
  // `unflushed`, which a write-back cache would lose at a reset; a
  // `vanishing` file loses its bytes when its writer closes it.
  std::map<std::u16string, std::vector<std::uint8_t>> files;
  std::set<std::u16string> readOnly;
  std::vector<std::u16string> writableFolders{u"\\Flash Disk\\", u"\\"};
  std::uint32_t writeLimit = 0xFFFFFFFF;  // bytes one WriteFile stores at most
  std::set<std::u16string> unflushed;
  std::set<std::u16string> vanishing;
  std::set<std::u16string> failFlush;  // FlushFileBuffers fails with this last error:
  std::uint32_t failFlushError = 29;   // ERROR_WRITE_FAULT
  std::set<std::u16string> heldOpen;   // another program holds them: sharing violation

  // Registry: existing keys under HKEY_LOCAL_MACHINE (compared exactly) and
  // their string values; denied keys refuse the open.
  std::map<std::u16string, std::map<std::u16string, std::u16string>> keys;
  std::set<std::u16string> deniedKeys;
  std::set<std::u16string> failSetValue;  // value names whose set fails
  long flushResult = 0;                    // what RegFlushKey answers

  // Warm resets asked for: SetSystemPowerState returns `powerStateResult`.
  // A reset it grants throws ResetCame, as the reset ends the program,
  // unless `resetComes` is false: then the call returns, and the program
  // goes on as on a terminal that never resets.
  int resets = 0;
  std::uint32_t powerStateResult = 0;
  bool resetComes = true;
  std::uint32_t slept = 0;  // milliseconds, all Sleep calls together
  std::uint32_t lastError = 0;
  // CeFsIoControl: 0 flushes the volume (every write under its root is on
  // it), else fails with this error.
  std::uint32_t volumeFlushError = 0;
  std::vector<std::uint32_t> signalled;  // SignalStarted's sequence ids
  std::uint8_t nextRandom = 0x5A;        // CeGenRandom's bytes count up from here
  bool randomWorks = true;

  // Device Manager's list: each driver from when the clock (`slept`) has
  // reached `loadedAfter`. Unavailable: the calls are missing.
  struct Driver {
    std::u16string legacyName, key, name;
    std::uint32_t loadedAfter = 0;
  };
  std::vector<Driver> drivers;
  bool driverListAvailable = false;

  // What IOCTL_HAL_GET_DEVICE_INFO answers for SPI_GETUUID (empty: it fails)
  // and IOCTL_HAL_GET_DEVICEID: the two ids, laid out as CE's DEVICE_ID; or
  // a failure. Both answer a too small buffer with the size it needs.
  std::vector<std::uint8_t> uuid;
  bool deviceIdWorks = true;
  std::vector<std::uint8_t> presetId;
  std::vector<std::uint8_t> platformId{0x00, 0x17, 0x23, 0xA4, 0x5B, 0xFF};
  SystemTime localTime{2026, 3, 1, 9, 7, 5, 3, 250};  // 2026-03-09 07:05:03, a Monday
  SystemTime systemTime{2026, 3, 1, 9, 6, 5, 3, 250};  // the same, in UTC

  std::vector<std::string> calls;       // every call, in order
  std::vector<std::string> debugLines;  // formatted debug output, UTF-8
  std::vector<std::string> faults;      // misuse seen: bad handles, double closes

  // File handles still open.
  std::vector<std::string> OpenFiles() const;
  // Calls whose line starts with `name`.
  std::vector<std::string> CallsNamed(const std::string& name) const;

  Handle CreateFile(const char16_t* name, std::uint32_t access, std::uint32_t shareMode,
                    const void* securityAttributes, std::uint32_t creationDisposition,
                    std::uint32_t flagsAndAttributes, Handle templateFile) override;
  int DeviceIoControl(Handle device, std::uint32_t ioControlCode, const void* inBuffer,
                      std::uint32_t inSize, void* outBuffer, std::uint32_t outSize,
                      std::uint32_t* bytesReturned, void* overlapped) override;
  int ReadFile(Handle file, void* buffer, std::uint32_t bytesToRead, std::uint32_t* bytesRead,
               void* overlapped) override;
  int WriteFile(Handle file, const void* buffer, std::uint32_t bytesToWrite,
                std::uint32_t* bytesWritten, void* overlapped) override;
  int SetFileAttributes(const char16_t* path, std::uint32_t attributes) override;
  int DeleteFile(const char16_t* path) override;
  int FlushFileBuffers(Handle file) override;
  int CloseHandle(Handle handle) override;
  long RegOpenKeyEx(RegKey root, const char16_t* subKey, std::uint32_t options,
                    std::uint32_t samDesired, RegKey* result) override;
  long RegSetValueEx(RegKey key, const char16_t* valueName, std::uint32_t reserved,
                     std::uint32_t type, const std::uint8_t* data,
                     std::uint32_t dataBytes) override;
  long RegQueryValueEx(RegKey key, const char16_t* valueName, std::uint32_t* reserved,
                       std::uint32_t* type, std::uint8_t* data, std::uint32_t* dataBytes) override;
  long RegCloseKey(RegKey key) override;
  long RegFlushKey(RegKey key) override;
  std::uint32_t GetLastError() override { return lastError; }
  std::uint32_t SetSystemPowerState(const char16_t* state, std::uint32_t stateFlags,
                                    std::uint32_t options) override;
  void Sleep(std::uint32_t milliseconds) override;
  int KernelIoControl(std::uint32_t ioControlCode, void* inBuffer, std::uint32_t inSize,
                      void* outBuffer, std::uint32_t outSize,
                      std::uint32_t* bytesReturned) override;
  void GetLocalTime(SystemTime* time) override;
  void GetSystemTime(SystemTime* time) override;
  int CeFsIoControl(const char16_t* root, std::uint32_t ioControlCode, void* inBuffer,
                    std::uint32_t inSize, void* outBuffer, std::uint32_t outSize,
                    std::uint32_t* bytesReturned, void* overlapped) override;
  void SignalStarted(std::uint32_t sequence) override;
  int CeGenRandom(std::uint32_t length, std::uint8_t* buffer) override;
  DriverListResult ListLoadedDrivers(LoadedDriver* list, std::uint32_t capacity,
                                     std::uint32_t* count) override;
  void DebugPrintf(const char16_t* format, std::uint32_t value) override;

 private:
  struct OpenFile {
    std::u16string path;
    bool write;
    std::size_t position;
  };
  Handle nextHandle_ = 0x100;
  std::set<Handle> devices_;
  std::map<Handle, OpenFile> open_;
  std::set<Handle> closed_;
  RegKey nextKey_ = 0x2000;
  std::map<RegKey, std::u16string> openKeys_;
};

}  // namespace hw::test
